#pragma once
// Starting the desktop's programs (the opener, an editor, a sound player) with one argument.
#include <functional>
#include <string>

namespace larkspin {

inline constexpr int kProgramNotStarted = -1;   // not found or not startable
inline constexpr int kProgramEndedAbnormally = -2;  // killed by a signal, or not waited for

// Runs program with argument and waits for it; its exit code or one of the two values above.
// A quiet program's output goes to /dev/null.
int RunProgram(const std::string& program, const std::string& argument, bool quiet);

// Starts program with argument and returns at once; it is reaped in the background when it
// ends, and then on_exit (when given) gets its exit code or kProgramEndedAbnormally, on the
// reaping thread. False when it could not be started (on_exit is then never called).
bool StartProgram(const std::string& program, const std::string& argument,
                  std::function<void(int exit_code)> on_exit = {});

}  // namespace larkspin
