// The program password's uses in the main window (the screen lock and the folder gate) and the
// Account menu's administration commands.
#include "admin/account_admin.h"
#include "admin/program_lock.h"
#include "common/message_box.h"
#include "main_window/dlg_main.h"
#include "ui/backend.h"
#include "ui/window_peer.h"

namespace larkspin {

namespace {
// The controls the screen lock disables.
constexpr int kLockedControls[] = {kConnectButton, kCloseButton,   kAccountSelector,  kFolderSelector,
                                   kDeleteButton,  kResetButton,   kDisconnectButton, kDownloadButton,
                                   kComposeButton, kReplyToButton, kForwardButton,    kWebLink};
// The menu commands that stay usable while the screen is locked: the unlock and Exit.
bool StaysUsableWhenLocked(int command) { return command == kCommandLockScreen || command == kCommandExit; }
}  // namespace

void CDlgMain::ToggleScreenLock() {
  if (!IsMenuItemChecked(kCommandLockScreen)) {
    ShowItem(kHeaderList, false);
    CheckMenuItem(kCommandLockScreen, true);
    LockControls();
    return;
  }
  if (!CheckProgramPassword(prompt_, Profile())) {
    MessageBox("The password you have entered is incorrect.\nLarkspin remains locked for you...", kBoxOk);
    return;
  }
  ShowItem(kHeaderList, true);
  CheckMenuItem(kCommandLockScreen, false);
  UnlockControls();
}

// The menus too: what they open (the log, the attachments, the settings, the address book)
// is what the lock hides.
void CDlgMain::LockControls() {
  for (const int command : Peer()->MenuBar().CommandIds()) {
    if (StaysUsableWhenLocked(command)) continue;
    menu_enabled_at_unlock_.emplace(command, IsMenuItemEnabled(command));
    EnableMenuItem(command, false);
  }
  for (const int id : kLockedControls) {
    enabled_at_unlock_.emplace(id, IsItemEnabled(id));
    CDialog::EnableItem(id, false);
  }
}

// A button's Message menu item follows the button's own state, restored after the menus.
void CDlgMain::UnlockControls() {
  for (const auto& [command, enabled] : menu_enabled_at_unlock_) EnableMenuItem(command, enabled);
  menu_enabled_at_unlock_.clear();
  const std::unordered_map<int, bool> controls = std::move(enabled_at_unlock_);
  enabled_at_unlock_.clear();
  for (const auto& [id, enabled] : controls) EnableItem(id, enabled);
}

void CDlgMain::EnableItem(int id, bool enable) {
  const auto locked = enabled_at_unlock_.find(id);
  if (locked != enabled_at_unlock_.end()) {
    locked->second = enable;
    return;
  }
  CDialog::EnableItem(id, enable);
  EnableMenuItem(id, enable);
}

void CDlgMain::SelectView(MailboxView view) {
  if (Refused(MainWindowAction::kAccountAdmin)) return;
  for (int i = 0; i < ComboCount(kFolderSelector); ++i)
    if (ComboEntry(kFolderSelector, i) == MailboxViewName(view)) SelectComboEntry(kFolderSelector, i);
  ShowView(view);
}

void CDlgMain::ShowView(MailboxView view) {
  folder_view_ = view;
  SetFocusItem(kHeaderList);
  RemoveAllRows();
  if (view == MailboxView::kOnline) {
    CheckMenuItem(kCommandOnline, true);
    CheckMenuItem(kCommandOffline, false);
    CheckMenuItem(kCommandSent, false);
    CheckMenuItem(kCommandDrafts, false);
    EnableItem(kDownloadButton, true);
    EnableItem(kResetButton, true);
    automatic_peek_ = true;
    TitleWithoutCount();
    return;
  }
  CheckMenuItem(kCommandOnline, false);
  CheckMenuItem(kCommandOffline, view == MailboxView::kOffline);
  CheckMenuItem(kCommandSent, view == MailboxView::kSent);
  CheckMenuItem(kCommandDrafts, view == MailboxView::kDrafts);
  if (account_.folder_gate_mark && !CheckProgramPassword(prompt_, Profile())) {
    MessageBox("The password you have entered is incorrect.\nThe access to the offline folder will be denied!",
               kBoxOk);
    return;
  }
  EnableItem(kDownloadButton, false);
  EnableItem(kResetButton, false);
  automatic_peek_ = false;
  FillFolderView(view);
}

AccountSelection CDlgMain::Selection() const {
  return {account_.account_number, ComboEntry(kAccountSelector, ComboSelection(kAccountSelector)), all_accounts_};
}

bool CDlgMain::Refused(MainWindowAction action) {
  if (model_.Allows(action)) return false;
  UiBackend().WarningBeep();
  return true;
}

void CDlgMain::ResetLoginCommand() {
  if (!Refused(MainWindowAction::kAccountAdmin)) ResetLogin(Selection(), account_);
}

void CDlgMain::ResetPasswordCommand() {
  if (!Refused(MainWindowAction::kAccountAdmin)) ResetPassword(Selection(), account_);
}

void CDlgMain::UnlockAccountCommand() {
  if (Refused(MainWindowAction::kAccountAdmin)) return;
  CWaitCursor wait;
  bool connected = session_.Connected();
  UnlockAccount(Selection(), account_, session_.Client(), connected,
                [this](const std::string& text) { SetStatusText(text); });
  session_.SetConnected(connected);
}

}  // namespace larkspin
