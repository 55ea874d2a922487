// When a peek runs and for which account: the account selector, the countdown to the next
// automatic peek (timer 10000), the Connect button, and the close of an idle manual connection
// (timer 10001).
#include "config/ini_file.h"
#include "config/working_files.h"
#include "common/format.h"
#include "main_window/dlg_main.h"
#include "res/resources.h"

namespace larkspin {

namespace {
constexpr const char* kAllAccountsEntry = "All Accounts";
}  // namespace

void CDlgMain::InitDropDowns() {
  const CIniFile config(kConfigFile);
  account_count_ = ConfiguredAccountCount();
  ResetCombo(kAccountSelector);
  account_names_.clear();
  for (int n = 1; n <= account_count_; ++n) {
    const std::string name = AccountListName(n);
    AddComboEntry(kAccountSelector, name);
    account_names_.push_back(name);
  }
  AddComboEntry(kAccountSelector, kAllAccountsEntry);
  account_names_.push_back(kAllAccountsEntry);
  account_.account_number = 1;
  SetStatusText(FormatText("Accounts known: %d    Ready for account '%s'", account_count_,
                           ComboEntry(kAccountSelector, 0).c_str()));
}

void CDlgMain::SwitchAccount() {
  const int index = ComboSelection(kAccountSelector);
  account_.account_number = index + 1;
  account_.display_name = ComboEntry(kAccountSelector, index);
  const std::string section = AccountSection(account_.account_number);
  account_.ClearCredentials();
  TakeTypedCredentials();
  const bool all_accounts = account_.display_name == kAllAccountsEntry;
  all_accounts_ = all_accounts;
  if (!all_accounts) {
    account_.EnsureCredentials(section, PeekScope::kOneAccount);
    account_.LoadCurrentAccount(section);
  }
  for (const int id : {kDownloadButton, kDeleteButton, kResetButton, kFolderSelector}) EnableItem(id, !all_accounts);
  SetWindowText("Larkspin");
  // A keyring that could not give or keep the password says so instead of the account's name.
  SetStatusText(account_.credential_problem.empty() ? account_.display_name : account_.credential_problem);
  SetWindowText("Larkspin-" + account_.display_name);
  previous_total_ = 0;
  RemoveAllRows();
  SetFocusItem(kConnectButton);
  if (IsFolderView(folder_view_)) ShowView(folder_view_);
}

void CDlgMain::CountdownStep() {
  if (folder_view_ == MailboxView::kOffline) return;
  // A peek that is still running keeps the POP3 client; its turn is skipped.
  if (countdown_.MinutePassed(model_.Allows(MainWindowAction::kPeek))) StartPeek();
  SetStatusText(FormatText(countdown_text_.c_str(), countdown_.MinutesLeft(), countdown_.PeekNumber()));
}

// The status line says so, and names the marks a No kept for the next peek.
void CDlgMain::IdleClose() {
  if (!model_.Allows(MainWindowAction::kPeek)) return;
  Disconnect(DisconnectCause::kWindow);
  countdown_.ForgetUserConnection();
  KillTimer(kIdleTimer);
  const int kept_marks = static_cast<int>(model_.DeleteOrders(list_.RowKeys()).size());
  std::string status = language_.Text("Messages", "IdleClosed", "Idle connection closed.");
  if (kept_marks > 0)
    status += FormatText("   %d message(s) marked for deletion: deleted at the next peek.", kept_marks);
  SetStatusText(status);
}

void CDlgMain::StartManualPeek() {
  if (!model_.Allows(MainWindowAction::kPeek)) return;
  countdown_.ConnectedByUser();
  KillTimer(kCountdownTimer);
  for (int i = 0; i < ComboCount(kFolderSelector); ++i)
    if (ComboEntry(kFolderSelector, i) == MailboxViewName(MailboxView::kOnline)) SelectComboEntry(kFolderSelector, i);
  // The list is about to hold server rows: a Delete must mark them, not remove stored files.
  folder_view_ = MailboxView::kOnline;
  CheckViewCommand(MailboxView::kOnline);
  StartPeek();
}

bool CDlgMain::StartPeek() {
  if (!model_.Allows(MainWindowAction::kPeek)) return false;
  if (worker_.joinable()) worker_.join();  // the last peek has made its last UI call
  ApplyState(MainWindowEvent::kPeekStarted);
  ReadScreening();
  SetSessionTexts(MakeSessionTexts());
  worker_ = std::thread([this, plan = MakePeekPlan()] { session_.RunPeek(plan, *this); });
  return true;
}

PeekPlan CDlgMain::MakePeekPlan() const {
  PeekPlan plan(account_);
  plan.all_accounts = all_accounts_;
  plan.account_names.assign(account_names_.begin(), account_names_.end() - 1);  // without "All Accounts"
  const std::vector<RowId> shown = list_.RowKeys();
  plan.downloads = model_.DownloadOrders(shown);
  plan.deletions = model_.DeleteOrders(shown);
  plan.download_all = download_all_;
  plan.new_mail_by = new_mail_by_;
  plan.mail_threshold_kb = mail_threshold_kb_;
  plan.waits = services_.waits;
  plan.pipeline = fast_peek_;
  plan.parallel_accounts = parallel_accounts_;
  if (fast_peek_) plan.waits.before_header = 0;
  return plan;
}

SessionTexts CDlgMain::MakeSessionTexts() const {
  SessionTexts texts;
  texts.connecting = language_.Template("Messages", "Connecting", "connecting to '%s'...");
  texts.fetching = language_.Template("Messages", "StatusFetch", "Reading header %d of %d   Total Size %.2lf kBytes");
  texts.total = language_.Template("Messages", "StatusTotal", "Total messages: %d     Total size: %.2lf kbyte (%d byte)");
  texts.removed_from_server = LoadResourceString(kStringRemovedFromServer);
  texts.disconnecting = language_.Text("Messages", "Disconnecting", "Disconnecting from server...");
  texts.accounts_at_work = language_.Text("Messages", "StatusAccounts", "Reading headers from: ");
  return texts;
}

}  // namespace larkspin
