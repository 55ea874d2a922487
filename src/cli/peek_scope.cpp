#include "cli/peek_scope.h"

#include "cli/cli_account.h"
#include "config/current_account.h"
#include "config/startup_settings.h"
#include "platform/profile_store.h"
#include "res/resources.h"

namespace larkspin {

namespace {
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
}  // namespace

bool ParsePeekScope(const CommandArguments& arguments, PeekScopeChoice& choice) {
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

PeekPlan CommandLinePlan(int account_number, bool all_accounts, CInputPrompt& no_prompt, bool ask_unique_ids) {
  CCurrentAccount account(no_prompt);
  account.account_number = account_number;
  PeekPlan plan(account);
  plan.all_accounts = all_accounts;
  for (int n = 1; n <= ConfiguredAccountCount(); ++n) plan.account_names.push_back(AccountListName(n));
  plan.new_mail_by = NewMailRule::kCount;
  plan.download_all = false;
  plan.waits = {0, 0, 0, 0};
  plan.ask_unique_ids = ask_unique_ids;
  plan.skip_without_credentials = true;
  plan.pipeline = true;
  plan.parallel_accounts = ReadStartupSettings().parallel_accounts;
  return plan;
}

}  // namespace larkspin
