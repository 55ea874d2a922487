// Compose, Reply To, Forward and a draft opened again: what each opener prepares for the compose
// window, and the compose window's view of the main window (CComposeHost). In all-accounts mode the main
// window's current account is the sending one while the compose window is open.
#include <filesystem>
#include <optional>

#include "common/message_box.h"
#include "compose/draft_file.h"
#include "compose_window/dlg_send.h"
#include "compose_window/shown_text_file.h"
#include "mailbox/mailbox_layout.h"
#include "mailbox/message_file.h"
#include "mailbox/stored_list.h"
#include "main_window/dlg_main.h"
#include "platform/file_system.h"
#include "res/resources.h"
#include "ui/backend.h"

namespace larkspin {

namespace {
std::string QuoteLine(const std::string& sender) { return "\r\n--- " + sender + " wrote: ---\r\n\r\n"; }
}  // namespace

struct ComposeRequest {
  std::string to;
  std::string subject;
  std::string attachments;
  std::optional<std::string> initial_text;
  ComposeMode mode = kComposeNew;
  std::string in_reply_to;  // a reply to a stored message: its Message-ID
  std::string references;   // and its last reference followed by that id
  int account_number = 0;  // the account to switch to in all-accounts mode; 0 keeps the current one
  std::optional<std::string> draft_path;  // the draft file the window opens on, with its fields
  ComposedMail draft;
};

namespace {
// A reply to a stored message answers its Message-ID, which the account's stored list keeps for
// the file; a message without a stored entry or id gets neither line.
void AddReplyIds(const std::string& local_file, int account_number, ComposeRequest& request) {
  if (local_file.empty()) return;
  const CStoredList stored(account_number);
  const StoredListEntry* entry = stored.EntryOfFile(std::filesystem::path(local_file).filename().string());
  if (entry == nullptr || entry->message_id.empty()) return;
  request.in_reply_to = entry->message_id;
  request.references = entry->last_reference.empty() ? entry->message_id : entry->last_reference + " " + entry->message_id;
}
}  // namespace

void CDlgMain::RegisterComposeCommands() {
  CCommandMap& map = Commands();
  map.OnCommand(kComposeButton, [this] { OnCompose(); });
  map.OnCommand(kReplyToButton, [this] { OnReply(); });
  map.OnCommand(kForwardButton, [this] { OnForward(); });
  for (int id = kFirstComposeAccountCommand; id <= kLastComposeAccountCommand; ++id)
    map.OnCommand(id, [this, id] { OnComposeFromAccount(id); });
}

void CDlgMain::OnCompose() {
  if (!all_accounts_) {
    OpenComposeWindow(ComposeRequest());
    return;
  }
  CMenu menu;
  for (int index = 0; index + 1 < ComboCount(kAccountSelector); ++index)
    menu.AppendItem(kFirstComposeAccountCommand + index, ComboEntry(kAccountSelector, index));
  const Rect button = ItemRect(kComposeButton);
  TrackPopupMenu(menu, ClientToScreen({button.left, button.top}));
}

void CDlgMain::OnComposeFromAccount(int id) {
  ComposeRequest request;
  request.account_number = id - kFirstComposeAccountCommand + 1;
  OpenComposeWindow(request);
}

const HeaderRow* CDlgMain::RowToAnswer(int no_selection_text, int& position, ComposeRequest& request) {
  position = list_.FirstSelected();
  const HeaderRow* row = RowRecord(position);
  if (!row) {
    MessageBox(LoadResourceString(no_selection_text), kBoxOk | kBoxIconInformation);
    return nullptr;
  }
  request.account_number = all_accounts_ ? row->account_number : 0;
  return row;
}

void CDlgMain::OnReply() {
  int position = -1;
  ComposeRequest request;
  const HeaderRow* row = RowToAnswer(kStringNoSelectionToReply, position, request);
  if (!row) return;
  CWaitCursor wait;
  request.to = row->sender_address;
  request.subject = "RE: " + list_.Text(position, kSubjectColumn);
  request.initial_text = QuoteLine(row->sender_address) + ShownTextFile(row->local_file);
  request.mode = kComposeReply;
  AddReplyIds(row->local_file, request.account_number != 0 ? request.account_number : account_.account_number, request);
  OpenComposeWindow(request);
}

void CDlgMain::OnForward() {
  int position = -1;
  ComposeRequest request;
  const HeaderRow* row = RowToAnswer(kStringNoSelectionToForward, position, request);
  if (!row) return;
  CWaitCursor wait;
  const std::string subject = list_.Text(position, kSubjectColumn);
  request.subject = subject.empty() ? subject : "FWD: " + subject;
  request.mode = kComposeForward;
  if (!row->local_file.empty()) {
    const std::string text = ShownTextFile(row->local_file);
    const int account = request.account_number != 0 ? request.account_number : account_.account_number;
    request.attachments = ForwardedAttachments(text, account);
    request.initial_text = text;
  }
  OpenComposeWindow(request);
}

// One path in the account's attach folder per name of the stored attachment list; empty when the
// list is (Send refuses a mail that lists a path which is not a file).
std::string CDlgMain::ForwardedAttachments(const std::string& text, int account_number) const {
  const std::string folder = working_directory_ + AttachFolder(account_number);
  std::string paths;
  for (const std::string& name : StoredAttachmentNames(text)) paths += (paths.empty() ? "" : ",") + folder + name;
  return paths;
}

// A draft of the Drafts view opens on the view's account; a file that is gone opens nothing.
void CDlgMain::OpenDraft(const std::string& path) {
  const std::optional<std::string> content = ReadWholeFile(path);
  if (!content) {
    ShowDraftsAgain();
    return;
  }
  ComposeRequest request;
  request.draft_path = path;
  request.draft = ReadDraft(*content);
  OpenComposeWindow(request);
}

void CDlgMain::OpenComposeWindow(const ComposeRequest& request) {
  const CCurrentAccount own_account = account_;
  if (request.account_number != 0) SwitchToSendingAccount(request.account_number);
  {
    CDlgSend window(*this, this, request.to, request.subject, Profile());
    window.SetAttachments(request.attachments);
    if (request.initial_text) window.SetInitialText(*request.initial_text);
    if (request.draft_path) window.SetDraft(*request.draft_path, request.draft);
    window.SetMode(request.mode);
    window.SetReplyIds(request.in_reply_to, request.references);
    window.DoModal();
  }
  if (request.account_number != 0) account_ = own_account;
  ShowDraftsAgain();
}

// The compose window may have saved, changed or sent a draft.
void CDlgMain::ShowDraftsAgain() {
  if (folder_view_ != MailboxView::kDrafts) return;
  RemoveAllRows();
  FillFolderView(folder_view_);
}

// The login is asked for by the compose window's identity, not here, so it is asked only once.
void CDlgMain::SwitchToSendingAccount(int account_number) {
  const std::string section = AccountSection(account_number);
  account_.account_number = account_number;
  account_.ClearCredentials();
  account_.EnsureCredentials(section, PeekScope::kAllAccounts);
  account_.LoadCurrentAccount(section);
}

int CDlgMain::CurrentAccountNumber() const { return account_.account_number; }
std::string CDlgMain::CurrentDisplayName() const { return account_.display_name; }
int CDlgMain::TimeoutSeconds() const { return timeout_seconds_; }

void CDlgMain::LoadAccountRecord(int account_number, AccountRecord& record) {
  account_.LoadAccountRecord(account_number, record, PeekScope::kOneAccount);
}

}  // namespace larkspin
