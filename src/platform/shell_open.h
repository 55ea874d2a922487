#pragma once
// Opening a web address or a file with the desktop's associated program (xdg-open), without
// waiting for it: the opener may run as long as the program it starts. Results follow the
// shell's convention: above 32 for success, otherwise an error number.
#include <functional>
#include <string>

namespace larkspin {

inline constexpr int kShellOpenSucceeded = 33;
inline constexpr int kShellOpenOutOfResources = 0;
inline constexpr int kShellOpenFileNotFound = 2;
inline constexpr int kShellOpenNoAssociation = 31;

// Starts the opener on target and returns at once: kShellOpenSucceeded when it started, else
// kShellOpenNoAssociation. When the opener later ends with a failure, on_failure gets its error
// number, on a thread of its own.
int OpenWithShell(const std::string& target, std::function<void(int result)> on_failure = {});

}  // namespace larkspin
