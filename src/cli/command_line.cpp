#include "cli/command_line.h"

#include <cstdio>
#include <cstring>

#include "cli/download_command.h"
#include "cli/migrate_command.h"
#include "cli/peek_command.h"
#include "cli/screen_command.h"
#include "cli/preview_command.h"
#include "cli/send_command.h"
#include "cli/sign_in_command.h"

namespace larkspin {

namespace {
void PrintUsage(std::FILE* out) {
  std::fprintf(out, "Usage:\n");
  std::fprintf(out, "  larkspin [--connect]   (the main window; --connect peeks as soon as it is shown)\n");
  for (const CommandLineMode& mode : CommandLineModes()) std::fprintf(out, "  larkspin %s\n", mode.usage);
}
}  // namespace

const std::vector<CommandLineMode>& CommandLineModes() {
  static const std::vector<CommandLineMode> modes = {
      {"peek", "peek [--account N | --all]", RunPeekCommand},
      {"screen", "screen [--account N | --all] [--apply]", RunScreenCommand},
      {"download", "download --account N MESSAGE_NUMBER...", RunDownloadCommand},
      {"preview", "preview --account N NUMBER", RunPreviewCommand},
      {"send",
       "send --account N --to ADDRESSES [--cc ADDRESSES] [--bcc ADDRESSES] --subject TEXT [--attach PATH,...] "
       "[--priority high|normal|low] < TEXT",
       RunSendCommand},
      {"migrate-passwords",
       "migrate-passwords   (moves the passwords and OAuth refresh tokens in config.ini into the keyring; needs "
       "PasswordStore=Keyring)",
       RunMigrateCommand},
      {"sign-in", "sign-in --account N   (signs an OAuth2 account in with its provider)", RunSignInCommand},
  };
  return modes;
}

bool RunCommandLine(int argc, char** argv, int& exit_code) {
  if (argc < 2) return false;
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    PrintUsage(stdout);
    exit_code = 0;
    return true;
  }
  for (const CommandLineMode& mode : CommandLineModes()) {
    if (std::strcmp(argv[1], mode.name) != 0) continue;
    exit_code = mode.run(CommandArguments(argv + 2, argv + argc));
    return true;
  }
  return false;
}

}  // namespace larkspin
