#pragma once
// Whether config.ini lets other users of the machine read a stored password: its scrambled form
// is undone by anyone, so such a file is worth a warning. The file's mode is the user's and is
// never changed here.
#include <string>

namespace larkspin {

// The warning for the user when the file at path can be read by its group or by others and
// holds a non-empty value of a key whose name ends in "Password"; empty otherwise (also when
// the file is missing).
std::string ReadablePasswordWarning(const std::string& path);

}  // namespace larkspin
