// larkspin: the command-line modes branch off before any window is made.
#include <cstdio>

#include "cli/command_line.h"

int main(int argc, char** argv) {
  int exit_code = 0;
  if (larkspin::RunCommandLine(argc, argv, exit_code)) return exit_code;
  if (argc >= 2) {
    std::fprintf(stderr, "larkspin: unknown command '%s' (try --help)\n", argv[1]);
    return 2;
  }
  std::fprintf(stderr, "larkspin: the main window is not part of this build yet; see larkspin --help\n");
  return 1;
}
