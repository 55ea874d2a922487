#include "widgets/shell_open.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

extern char** environ;

namespace larkspin {

namespace {
// xdg-open's exit codes: 2 the file does not exist, 3 no tool found, 4 the action failed.
int ResultOfExitCode(int exit_code) {
  switch (exit_code) {
    case 0: return kShellOpenSucceeded;
    case 2: return kShellOpenFileNotFound;
    case 3:
    case 4:
    case 127: return kShellOpenNoAssociation;  // 127: the opener itself is missing
    default: return exit_code;
  }
}
}  // namespace

int OpenWithShell(const std::string& target) {
  const char* argv[] = {"xdg-open", target.c_str(), nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, "xdg-open", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
    return kShellOpenNoAssociation;
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return kShellOpenOutOfResources;
  }
  return WIFEXITED(status) ? ResultOfExitCode(WEXITSTATUS(status)) : kShellOpenOutOfResources;
}

}  // namespace larkspin
