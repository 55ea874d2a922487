#include "cli/peek_command.h"

#include <cstdio>
#include <vector>

#include "cli/cli_account.h"
#include "cli/command_log.h"
#include "cli/peek_printer.h"
#include "cli/peek_scope.h"
#include "config/log.h"
#include "peek/mailbox_session.h"

namespace larkspin {

namespace {
constexpr int kUsageError = 2;

// The peek on the session, and the QUIT of a one-account peek's connection (an all-accounts
// peek logs out after each account itself).
void Peek(const PeekScopeChoice& choice, CPeekPrinter& printer, CMailboxSession& session) {
  const std::string unknown = choice.all_accounts ? "" : UnknownAccountText(choice.accounts.front());
  if (!unknown.empty()) {
    printer.PrintProblem(unknown);
    PrintPeekTotal(0, 0);
    return;
  }
  CNoPrompt no_prompt;
  session.RunPeek(CommandLinePlan(choice.accounts.front(), choice.all_accounts, no_prompt, false), printer);
  if (session.Connected()) session.LogOut(0, printer);
}
}  // namespace

int RunPeekCommand(const CommandArguments& arguments) {
  PeekScopeChoice choice;
  if (!ParsePeekScope(arguments, choice)) {
    std::fprintf(stderr, "larkspin: usage: larkspin peek [--account N | --all]\n");
    return kUsageError;
  }
  if (choice.accounts.empty()) {
    std::fprintf(stderr, "larkspin: no accounts in config.ini of this folder\n");
    return 1;
  }
  OpenCommandLog();
  CMailboxSession session;
  PrepareSession(session);
  CPeekPrinter printer;
  Peek(choice, printer, session);
  CloseLog();
  std::fflush(stdout);
  return printer.Failed() ? 1 : 0;
}

}  // namespace larkspin
