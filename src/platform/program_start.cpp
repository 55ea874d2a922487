#include "platform/program_start.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace larkspin {

namespace {
bool Spawn(const std::string& program, const std::string& argument, bool quiet, pid_t& child) {
  const char* argv[] = {program.c_str(), argument.c_str(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (quiet) {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  }
  const int spawned = posix_spawnp(&child, program.c_str(), &actions, nullptr, const_cast<char**>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0;
}


int WaitForExit(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return kProgramEndedAbnormally;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : kProgramEndedAbnormally;
}
}  // namespace

int RunProgram(const std::string& program, const std::string& argument, bool quiet) {
  pid_t child = 0;
  if (!Spawn(program, argument, quiet, child)) return kProgramNotStarted;
  return WaitForExit(child);
}

bool StartProgram(const std::string& program, const std::string& argument, std::function<void(int)> on_exit) {
  pid_t child = 0;
  if (!Spawn(program, argument, false, child)) return false;
  std::thread([child, on_exit = std::move(on_exit)] {
    const int exit_code = WaitForExit(child);
    if (on_exit) on_exit(exit_code);
  }).detach();
  return true;
}

}  // namespace larkspin
