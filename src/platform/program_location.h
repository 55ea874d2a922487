#pragma once
// Where the running program's executable lives, so that files installed beside it (under
// <prefix>/share) are found whatever the install prefix.
#include <string>

namespace larkspin {

// The absolute folder of the running executable, without a final "/"; empty when the system
// does not tell.
std::string ProgramFolder();

}  // namespace larkspin
