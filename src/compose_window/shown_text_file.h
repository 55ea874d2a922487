#pragma once
// A text file the compose window starts from (the signature, a replied or forwarded message), read
// with ReadTextFile; a read error is shown in a box.
#include <string>

namespace larkspin {

// The file's text, or the placeholder after "A Read Error has occured." was shown.
std::string ShownTextFile(const std::string& path);

}  // namespace larkspin
