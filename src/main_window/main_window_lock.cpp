// The program password's uses in the main window (the screen lock and the folder gate) and the
// Account menu's administration commands.
#include <utility>

#include "admin/account_admin.h"
#include "admin/program_lock.h"
#include "common/format.h"
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
    ShowItem(kPreviewPane, false);
    SetItemText(kPreviewPane, "");
    CheckMenuItem(kCommandLockScreen, true);
    LockControls();
    return;
  }
  if (!CheckProgramPassword(prompt_, Profile())) {
    MessageBox("The password you have entered is incorrect.\nLarkspin remains locked for you...", kBoxOk);
    return;
  }
  ShowItem(kHeaderList, true);
  ShowItem(kPreviewPane, IsMenuItemChecked(kCommandPreview));
  CheckMenuItem(kCommandLockScreen, false);
  UnlockControls();
}

// The menus too: what they open (the log, the attachments, the settings, the address book)
// is what the lock hides.
void CDlgMain::LockControls() {
  for (const int command : Peer()->MenuBar().CommandIds()) {
    if (StaysUsableWhenLocked(command)) continue;
    lock_memory_.HoldCommand(command, IsMenuItemEnabled(command));
    EnableMenuItem(command, false);
  }
  for (const int id : kLockedControls) {
    lock_memory_.HoldControl(id, IsItemEnabled(id));
    CDialog::EnableItem(id, false);
  }
}

// A button's Message menu item follows the button's own state, restored after the menus.
void CDlgMain::UnlockControls() {
  for (const auto& [command, enabled] : lock_memory_.ReleaseCommands()) EnableMenuItem(command, enabled);
  for (const auto& [id, enabled] : lock_memory_.ReleaseControls()) EnableItem(id, enabled);
}

void CDlgMain::EnableItem(int id, bool enable) {
  if (lock_memory_.Remember(id, enable)) return;
  CDialog::EnableItem(id, enable);
  EnableMenuItem(id, enable);
}

void CDlgMain::SelectView(MailboxView view) {
  if (Refused(MainWindowAction::kAccountAdmin)) return;
  for (int i = 0; i < ComboCount(kFolderSelector); ++i)
    if (ComboEntry(kFolderSelector, i) == MailboxViewName(view)) SelectComboEntry(kFolderSelector, i);
  ShowView(view);
}

void CDlgMain::CheckViewCommand(MailboxView view) {
  constexpr std::pair<MailboxView, int> kViewCommands[] = {
      {MailboxView::kOnline, kCommandOnline}, {MailboxView::kOffline, kCommandOffline},
      {MailboxView::kSent, kCommandSent},     {MailboxView::kDrafts, kCommandDrafts},
      {MailboxView::kDeleted, kCommandDeleted}};
  for (const auto& [shown, command] : kViewCommands) CheckMenuItem(command, shown == view);
}

void CDlgMain::ShowView(MailboxView view) {
  folder_view_ = view;
  SetFocusItem(kHeaderList);
  RemoveAllRows();
  CheckViewCommand(view);
  if (view == MailboxView::kOnline) {
    EnableItem(kDownloadButton, true);
    EnableItem(kResetButton, true);
    countdown_.SetAutomatic(true);
    TitleWithoutCount();
    return;
  }
  if (account_.folder_gate_mark && !CheckProgramPassword(prompt_, Profile())) {
    MessageBox("The password you have entered is incorrect.\nThe access to the offline folder will be denied!",
               kBoxOk);
    return;
  }
  EnableItem(kDownloadButton, false);
  EnableItem(kResetButton, false);
  countdown_.SetAutomatic(false);
  if (view == MailboxView::kDeleted) FillDeletedView();
  else FillFolderView(view);
}

AccountSelection CDlgMain::Selection() const {
  return {account_.account_number, ComboEntry(kAccountSelector, ComboSelection(kAccountSelector)), all_accounts_};
}

bool CDlgMain::Refused(MainWindowAction action) {
  if (model_.Allows(action)) return false;
  UiBackend().WarningBeep();
  return true;
}

// Asks first and refuses in all-accounts mode; a keyring that failed says why instead of success.
void CDlgMain::ResetCredentialCommand(StoredCredential credential) {
  if (Refused(MainWindowAction::kAccountAdmin)) return;
  const AccountSelection selection = Selection();
  const char* name = StoredCredentialName(credential);
  if (selection.all_accounts) {
    MessageBox(FormatText("Cannot reset %s for '%s'", name, selection.account_name.c_str()), kBoxOk | kBoxIconWarning);
    return;
  }
  const std::string question = FormatText("Reset %s for account '%s' ?", name, selection.account_name.c_str());
  if (MessageBox(question, kBoxYesNo | kBoxIconQuestion) != kButtonYes) return;
  const std::string problem = ForgetStoredCredential(selection.account_number, account_, credential);
  if (problem.empty())
    MessageBox(FormatText("%s successfully reset.", name), kBoxOk | kBoxIconInformation);
  else
    MessageBox(problem, kBoxOk | kBoxIconWarning);
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
