#pragma once
// Opening a web address or a file with the desktop's associated program (xdg-open). Results
// follow the shell's convention: above 32 for success, otherwise an error number.
#include <string>

namespace larkspin {

inline constexpr int kShellOpenSucceeded = 33;
inline constexpr int kShellOpenOutOfResources = 0;
inline constexpr int kShellOpenFileNotFound = 2;
inline constexpr int kShellOpenNoAssociation = 31;

// Starts the opener and waits for it to hand the target over (not for the program it starts).
int OpenWithShell(const std::string& target);

}  // namespace larkspin
