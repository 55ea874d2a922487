#include "cli/peek_command.h"

#include <cstdio>
#include <vector>

#include "cli/cli_account.h"
#include "cli/command_log.h"
#include "cli/peek_printer.h"
#include "config/log.h"
#include "config/startup_settings.h"
#include "config/working_files.h"
#include "peek/mailbox_session.h"
#include "platform/profile_store.h"
#include "res/resources.h"

namespace larkspin {

namespace {
constexpr int kUsageError = 2;

struct PeekScopeChoice {
  std::vector<int> accounts;
  bool all_accounts = false;
};

PeekScopeChoice AllAccounts() {
  PeekScopeChoice choice;
  choice.all_accounts = true;
  for (int n = 1; n <= ConfiguredAccountCount(); ++n) choice.accounts.push_back(n);
  return choice;
}

// The entry the window's account selector stands on: an account, or the last entry "All
// Accounts"; an entry that no longer exists stands for the first account.
PeekScopeChoice SelectedAccounts() {
  const int entry = CProfileStore().GetInt(kMainWindowSection, "account", 0);
  const int count = ConfiguredAccountCount();
  if (entry == count) return AllAccounts();
  return {{entry >= 0 && entry < count ? entry + 1 : 1}, false};
}

bool ParsePeekArguments(const CommandArguments& arguments, PeekScopeChoice& choice) {
  if (arguments.empty()) {
    choice = SelectedAccounts();
    return true;
  }
  if (arguments.size() == 1 && arguments[0] == "--all") {
    choice = AllAccounts();
    return true;
  }
  int number = 0;
  if (arguments.size() == 2 && arguments[0] == "--account" && ParsePositiveNumber(arguments[1], number)) {
    choice = {{number}, false};
    return true;
  }
  return false;
}

// The command line's peek: the headers only, without a wait, a question, a mark carried out or a
// download; new mail is counted, so no seen-ids file is read or written, and no UIDL is asked.
PeekPlan CommandLinePlan(const PeekScopeChoice& choice, CInputPrompt& no_prompt) {
  CCurrentAccount account(no_prompt);
  account.account_number = choice.accounts.front();
  PeekPlan plan(account);
  plan.all_accounts = choice.all_accounts;
  for (int n = 1; n <= ConfiguredAccountCount(); ++n) plan.account_names.push_back(AccountListName(n));
  plan.new_mail_by = NewMailRule::kCount;
  plan.download_all = false;
  plan.waits = {0, 0, 0, 0};
  plan.ask_unique_ids = false;
  plan.skip_without_credentials = true;
  plan.pipeline = true;
  plan.parallel_accounts = ReadStartupSettings().parallel_accounts;
  return plan;
}

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
  session.RunPeek(CommandLinePlan(choice, no_prompt), printer);
  if (session.Connected()) session.LogOut(0, printer);
}
}  // namespace

int RunPeekCommand(const CommandArguments& arguments) {
  PeekScopeChoice choice;
  if (!ParsePeekArguments(arguments, choice)) {
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
