#pragma once
// The command-line modes of larkspin (peek, screen, download, send, migrate-passwords). They run from
// the working directory like the window does, never prompt, and print UTF-8.
#include <string>
#include <vector>

namespace larkspin {

using CommandArguments = std::vector<std::string>;

struct CommandLineMode {
  const char* name;
  const char* usage;  // one line, shown by "larkspin --help"
  int (*run)(const CommandArguments& arguments);
};

// The modes this build offers.
const std::vector<CommandLineMode>& CommandLineModes();

// True when argv names a command-line mode (or asks for help); then exit_code is its result.
bool RunCommandLine(int argc, char** argv, int& exit_code);

}  // namespace larkspin
