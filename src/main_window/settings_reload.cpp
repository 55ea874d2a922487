// Settings changed while the program runs: the account dialog, config.ini edited by hand (seen
// by its modification on timer 10002) and Edit > Reload settings. Each takes effect at once; a
// change found while a peek runs or a connection stands waits until the window is idle again.
#include "account_dialog/dlg_account.h"
#include "main_window/dlg_main.h"
#include "ui/backend.h"

namespace larkspin {

void CDlgMain::OpenAccountDialog() {
  if (Refused(MainWindowAction::kSettings)) return;
  CDlgAccount dialog(this, all_accounts_ ? 0 : account_.account_number);
  // The dialog's own saves are taken in below, once it is closed, not by the file check meanwhile.
  KillTimer(kSettingsTimer);
  dialog.DoModal();
  SetTimer(kSettingsTimer, kSettingsCheckMs);
  if (!dialog.Changed()) return;
  std::optional<TypedCredentials> typed;
  if (const int saved = dialog.LastSavedAccount(); saved != 0)
    typed = TypedCredentials{saved, dialog.LastSavedSettings().login, dialog.LastSavedSettings().password};
  config_watch_.Rebase();
  RefreshAccounts(typed);
}

void CDlgMain::CheckSettingsFile() {
  CheckRuleFile();
  if (config_watch_.Changed()) reload_pending_ = true;
  if (reload_pending_ && model_.Allows(MainWindowAction::kSettings)) ReloadSettings();
}

void CDlgMain::ReloadSettings() {
  reload_pending_ = false;
  config_watch_.Rebase();
  const StartupSettings settings = ReadStartupSettings();
  ApplySettingValues(settings);
  ApplyPeekMinutes(settings.peek_minutes);
  RefreshAccounts(std::nullopt);
  SetStatusText("Settings read again from config.ini.");
}

// A new PeekTime starts the countdown afresh (or stops it); an unchanged one leaves it running.
void CDlgMain::ApplyPeekMinutes(int minutes) {
  if (minutes == countdown_.PeekMinutes()) return;
  countdown_.Restart(minutes);
  if (countdown_.Runs()) SetTimer(kCountdownTimer, kTimerPeriodMs);
  else KillTimer(kCountdownTimer);
}

int CDlgMain::EntryToSelectAfterRefresh(int old_count, int old_number, bool was_all,
                                        const std::optional<TypedCredentials>& typed) const {
  if (typed && old_count == 0) return typed->account_number - 1;  // the first account just made
  if (was_all) return account_count_;                               // "All Accounts" again
  return old_number <= account_count_ ? old_number - 1 : 0;
}

void CDlgMain::RefreshAccounts(const std::optional<TypedCredentials>& typed) {
  const int old_count = account_count_;
  const int old_number = account_.account_number;
  const bool was_all = all_accounts_;
  InitDropDowns();
  const int entry = EntryToSelectAfterRefresh(old_count, old_number, was_all, typed);
  SelectComboEntry(kAccountSelector, entry);
  const bool same_entry = entry == (was_all ? old_count : old_number - 1) && old_count != 0;
  const bool credentials_typed = typed && typed->account_number == entry + 1;
  if (!same_entry || credentials_typed) {
    typed_credentials_ = typed;
    SwitchAccount();
    return;
  }
  // The same account stays selected with the credentials at hand; its settings are read again.
  account_.account_number = entry + 1;
  account_.display_name = ComboEntry(kAccountSelector, entry);
  if (!all_accounts_) account_.LoadCurrentAccount(AccountSection(account_.account_number));
  SetWindowText("Larkspin-" + account_.display_name);
}

void CDlgMain::TakeTypedCredentials() {
  if (typed_credentials_ && typed_credentials_->account_number == account_.account_number) {
    account_.login = typed_credentials_->login;
    account_.login_plain = !account_.login.empty();
    account_.password = typed_credentials_->password;
    account_.password_plain = !account_.password.empty();
  }
  typed_credentials_.reset();
}

}  // namespace larkspin
