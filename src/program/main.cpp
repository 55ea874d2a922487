// larkspin: the command-line modes branch off before any window is made; otherwise the main
// window runs.
#include <cstdio>
#include <cstring>

#include "program/application.h"
#include "cli/command_line.h"

int main(int argc, char** argv) {
  int exit_code = 0;
  if (larkspin::RunCommandLine(argc, argv, exit_code)) return exit_code;
  larkspin::ApplicationOptions options;
  if (argc == 2 && std::strcmp(argv[1], "--connect") == 0) {
    options.connect_at_start = true;
  } else if (argc >= 2) {
    std::fprintf(stderr, "larkspin: unknown command '%s' (try --help)\n", argv[1]);
    return 2;
  }
  return larkspin::RunApplication(argc, argv, options);
}
