#pragma once
// The application object: with no command-line mode, Larkspin is its main window, run modally on
// the desktop's window toolkit in the current working directory.

namespace larkspin {

struct ApplicationOptions {
  bool connect_at_start = false;  // --connect: peek the selected account as soon as the window shows
};

// Runs the main window until Close or Exit; answers the process's exit code.
int RunApplication(int argc, char** argv, const ApplicationOptions& options);

}  // namespace larkspin
