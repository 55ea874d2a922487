#include "cli/sign_in_command.h"

#include <cstdio>
#include <thread>

#include "cli/cli_account.h"
#include "cli/command_log.h"
#include "cli/terminal_text.h"
#include "config/current_account.h"
#include "config/log.h"
#include "config/oauth_sign_in.h"
#include "platform/shell_open.h"

namespace larkspin {

namespace {
constexpr int kUsageError = 2;

SignInResult SignIn(const std::string& section) {
  CHttpClient http;
  SignInHooks hooks;
  hooks.show_code = [](const std::string& code, const std::string& uri) {
    std::printf("To sign in, open %s and enter the code %s\n", TerminalText(uri).c_str(), TerminalText(code).c_str());
    std::fflush(stdout);
  };
  hooks.wait = [](std::chrono::seconds wait) { std::this_thread::sleep_for(wait); };
  hooks.open = [](const std::string& url) {
    std::printf("Opening the sign-in page in your browser; if it does not open, visit:\n%s\n", TerminalText(url).c_str());
    std::fflush(stdout);
    return OpenWithShell(url) == kShellOpenSucceeded;
  };
  return SignInWithProvider(section, http, hooks);
}
}  // namespace

int RunSignInCommand(const CommandArguments& arguments) {
  int account_number = 0;
  if (arguments.size() != 2 || arguments[0] != "--account" || !ParsePositiveNumber(arguments[1], account_number)) {
    std::fprintf(stderr, "larkspin: usage: larkspin sign-in --account N\n");
    return kUsageError;
  }
  if (const std::string unknown = UnknownAccountText(account_number); !unknown.empty()) {
    std::fprintf(stderr, "larkspin: %s\n", unknown.c_str());
    return 1;
  }
  OpenCommandLog();
  const SignInResult result = SignIn(AccountSection(account_number));
  if (result.signed_in) {
    std::printf("Account %d (%s) is signed in.\n", account_number, TerminalText(AccountListName(account_number)).c_str());
  } else {
    LogEvent("Sign-in failed: " + result.problem);
    std::fprintf(stderr, "larkspin: account %d not signed in: %s\n", account_number, TerminalText(result.problem).c_str());
  }
  CloseLog();
  std::fflush(stdout);
  return result.signed_in ? 0 : 1;
}

}  // namespace larkspin
