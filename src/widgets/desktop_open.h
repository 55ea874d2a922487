#pragma once
// Handing a file or web address to the desktop's associated program without waiting for it, and
// telling the user when the desktop could not open it: at once when the opener did not start,
// later (on the UI thread) when it ended with a failure.
#include <functional>
#include <string>

namespace larkspin {

// Starts the opener on target and answers the shell's result of the start (above 32 when it
// started). When the opener later ends with a failure, a message box on the UI thread shows
// heading, a blank line and the shell's error text. A failure to start is the caller's to show.
int StartDesktopOpen(const std::string& target, const std::string& heading);
// StartDesktopOpen that also shows a failure to start, in the same kind of message box.
int OpenWithDesktop(const std::string& target, const std::string& heading);
// The message box of a failed open.
void ShowOpenFailure(const std::string& heading, int result);

// The shell's error text for result.
std::string LinkErrorText(int result);

}  // namespace larkspin
