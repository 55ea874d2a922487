#include "cli/migrate_command.h"

#include <cstdio>

#include "cli/cli_account.h"
#include "cli/command_log.h"
#include "cli/terminal_text.h"
#include "config/log.h"
#include "config/oauth_token_store.h"
#include "config/stored_password.h"
#include "config/working_files.h"

namespace larkspin {

namespace {
constexpr int kUsageError = 2;

// Prints the outcome's line; 1 when it failed.
int Report(const MoveOutcome& outcome) {
  if (outcome.result == MoveResult::kMoved) LogEvent(outcome.text);
  std::FILE* stream = outcome.result == MoveResult::kFailed ? stderr : stdout;
  std::fprintf(stream, "%s%s\n", stream == stderr ? "larkspin: " : "", TerminalText(outcome.text).c_str());
  return outcome.result == MoveResult::kFailed ? 1 : 0;
}

// The OAuth refresh token of an account has a line of its own only when there is one to move.
int MoveEveryPassword() {
  int status = 0;
  for (int n = 1; n <= ConfiguredAccountCount(); ++n) {
    status |= Report(MovePasswordToKeyring(n));
    const MoveOutcome token = MoveRefreshTokenToKeyring(n);
    if (token.result != MoveResult::kNothingToMove) status |= Report(token);
  }
  return status;
}
}  // namespace

int RunMigrateCommand(const CommandArguments& arguments) {
  if (!arguments.empty()) {
    std::fprintf(stderr, "larkspin: usage: larkspin migrate-passwords\n");
    return kUsageError;
  }
  if (!PasswordsInKeyring()) {
    std::fprintf(stderr, "larkspin: set PasswordStore=Keyring in [System] of config.ini first; "
                         "nothing was moved\n");
    return 1;
  }
  OpenCommandLog();
  const int status = MoveEveryPassword();
  CloseLog();
  std::fflush(stdout);
  return status;
}

}  // namespace larkspin
