#include "cli_runner.h"

#include <sys/wait.h>

#include <chrono>

#include "common/format.h"
#include "common/scramble.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace larkspin::test_support {

namespace {
constexpr int kRunLimitMs = 120000;

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace

CliRun RunLarkspin(const std::string& folder, const std::vector<std::string>& arguments, const std::string& input) {
  WriteFile(folder + "/cli.in", input);
  std::string command = "cd " + Quoted(folder) + " && exec env XDG_CONFIG_HOME=" + Quoted(folder + "/xdg") + " " +
                        Quoted(LARKSPIN_EXECUTABLE);
  for (const std::string& argument : arguments) command += " " + Quoted(argument);
  command += " <" + Quoted(folder + "/cli.in") + " >" + Quoted(folder + "/cli.out") + " 2>" +
             Quoted(folder + "/cli.err");
  CliRun run;
  const auto start = std::chrono::steady_clock::now();
  // The shell becomes larkspin, so the usage reported for the child is larkspin's own.
  const pid_t child = StartProcess({"sh", "-c", command}, folder + "/cli.log");
  int status = -1;
  rusage usage{};
  if (!WaitForExit(child, kRunLimitMs, &status, &usage)) EndProcess(child, 1000);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.max_rss_kb = usage.ru_maxrss;
  run.exit_status = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadFile(folder + "/cli.out");
  run.err = ReadFile(folder + "/cli.err");
  return run;
}

std::string ConfigFor(const std::vector<int>& ports, const std::string& system_lines) {
  std::string config =
      FormatText("[System]\r\nAccounts=%zu\r\nTimeOut=5\r\n%s[Users]\r\n", ports.size(), system_lines.c_str());
  for (size_t i = 0; i < ports.size(); ++i) config += FormatText("Account%zu=Box %zu\r\n", i + 1, i + 1);
  for (size_t i = 0; i < ports.size(); ++i) {
    config += FormatText("[Account%zu]\r\nPOP3Host=127.0.0.1\r\nPOP3Port=%d\r\n", i + 1, ports[i]);
    if (ports[i] != 0)
      config += "POP3Account=" + Scrambled("user") + "\r\nPOP3Password=" + Scrambled("secret") + "\r\n";
  }
  return config;
}

}  // namespace larkspin::test_support
