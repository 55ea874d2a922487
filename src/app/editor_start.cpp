#include "app/editor_start.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <thread>

extern char** environ;

namespace larkspin {

namespace {
// Starts program with path and reaps it in the background once it ends.
bool StartDetached(const std::string& program, const std::string& path) {
  const char* argv[] = {program.c_str(), path.c_str(), nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, program.c_str(), nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return false;
  std::thread([child] { waitpid(child, nullptr, 0); }).detach();
  return true;
}

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}
}  // namespace

bool OpenFileInEditor(const std::string& path) {
  if (StartDetached("xdg-open", path)) return true;
  for (const char* variable : {"VISUAL", "EDITOR"}) {
    const std::string editor = EnvironmentValue(variable);
    if (!editor.empty() && StartDetached(editor, path)) return true;
  }
  return false;
}

}  // namespace larkspin
