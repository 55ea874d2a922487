#pragma once
// Runs the larkspin executable of this build in a working folder, as a user's script would, and
// collects its exit status, standard output and standard error.
#include <string>
#include <vector>

namespace larkspin::test_support {

struct CliRun {
  int exit_status = -1;
  std::string out;
  std::string err;
  double seconds = 0;    // from start to exit
  long max_rss_kb = 0;   // the process's peak memory
};

// Runs "larkspin ARGUMENTS..." in folder with XDG_CONFIG_HOME set to folder/xdg, with input as
// its standard input; a run that lasts over two minutes is ended and has exit status -1.
CliRun RunLarkspin(const std::string& folder, const std::vector<std::string>& arguments,
                   const std::string& input = "");

// A config.ini with accounts on 127.0.0.1: one entry per account, each port, or 0 for an account
// without stored login and password.
std::string ConfigFor(const std::vector<int>& ports, const std::string& system_lines = "");

}  // namespace larkspin::test_support
