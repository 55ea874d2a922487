#include "support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace larkspin::test_support {

namespace {
constexpr auto kPollInterval = std::chrono::milliseconds(20);

// Runs in the forked child: only async-signal-safe calls until exec.
[[noreturn]] void ExecChild(char* const* argv, const char* output_path, pid_t parent) {
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (::getppid() != parent) ::_exit(127);
  const int input = ::open("/dev/null", O_RDONLY);
  const int output = ::open(output_path, O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (input < 0 || output < 0) ::_exit(127);
  ::dup2(input, STDIN_FILENO);
  ::dup2(output, STDOUT_FILENO);
  ::dup2(output, STDERR_FILENO);
  ::execvp(argv[0], argv);
  ::_exit(127);
}

// The state letter of /proc/<pid>/stat, or 0 when the process does not exist.
char ProcessState(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return 0;
  const size_t name_end = line.rfind(')');
  return name_end == std::string::npos || name_end + 2 >= line.size() ? 0 : line[name_end + 2];
}

pid_t ParentOf(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return -1;
  const size_t name_end = line.rfind(')');
  if (name_end == std::string::npos || name_end + 4 >= line.size()) return -1;
  return static_cast<pid_t>(std::atoi(line.c_str() + name_end + 4));
}

bool IsRunning(pid_t pid) {
  const char state = ProcessState(pid);
  return state != 0 && state != 'Z' && state != 'X';
}
}  // namespace

pid_t StartProcess(const std::vector<std::string>& argv, const std::string& output_path) {
  std::vector<char*> arguments;
  for (const std::string& argument : argv) arguments.push_back(const_cast<char*>(argument.c_str()));
  arguments.push_back(nullptr);
  const pid_t parent = ::getpid();
  const pid_t child = ::fork();
  if (child == 0) ExecChild(arguments.data(), output_path.c_str(), parent);
  return child;
}

bool WaitForExit(pid_t child, int timeout_ms, int* status, rusage* usage) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  int ignored_status = 0;
  rusage ignored_usage{};
  for (;;) {
    const pid_t reaped = ::wait4(child, status ? status : &ignored_status, WNOHANG, usage ? usage : &ignored_usage);
    if (reaped == child || (reaped < 0 && errno == ECHILD)) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
}

void EndProcess(pid_t child, int grace_ms) {
  ::kill(child, SIGTERM);
  if (WaitForExit(child, grace_ms)) return;
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
}

std::vector<pid_t> ChildProcessesOf(pid_t pid) {
  std::vector<pid_t> children;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const pid_t candidate = static_cast<pid_t>(std::stol(name));
    if (ParentOf(candidate) == pid) children.push_back(candidate);
  }
  return children;
}

bool WaitUntilGone(const std::vector<pid_t>& processes, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    bool any_running = false;
    for (pid_t pid : processes) any_running = any_running || IsRunning(pid);
    if (!any_running) return true;
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(kPollInterval);
  }
  for (pid_t pid : processes) {
    if (IsRunning(pid)) ::kill(pid, SIGKILL);
  }
  return false;
}

}  // namespace larkspin::test_support
