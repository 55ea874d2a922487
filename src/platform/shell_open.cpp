#include "platform/shell_open.h"

#include "platform/program_start.h"

namespace larkspin {

namespace {
// xdg-open's exit codes: 2 the file does not exist, 3 no tool found, 4 the action failed.
int ShellResultOfExitCode(int exit_code) {
  switch (exit_code) {
    case 0: return kShellOpenSucceeded;
    case 2: return kShellOpenFileNotFound;
    case 3:
    case 4:
    case 127:  // the opener itself is missing
    case kProgramNotStarted: return kShellOpenNoAssociation;
    case kProgramEndedAbnormally: return kShellOpenOutOfResources;
    default: return exit_code;
  }
}
}  // namespace

int OpenWithShell(const std::string& target, std::function<void(int result)> on_failure) {
  const auto on_exit = [on_failure = std::move(on_failure)](int exit_code) {
    const int result = ShellResultOfExitCode(exit_code);
    if (result <= 32 && on_failure) on_failure(result);
  };
  return StartProgram("xdg-open", target, on_exit) ? kShellOpenSucceeded : kShellOpenNoAssociation;
}

}  // namespace larkspin
