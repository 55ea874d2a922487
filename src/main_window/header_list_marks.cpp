// The rows of the header list and what the user does to them: the records behind the rows, the
// delete and download marks (buttons and pop-up menu), adding a sender to the address book, and
// the double-click that downloads and opens a message.
#include <cstdio>

#include "common/format.h"
#include "common/message_box.h"
#include "compose/address_book.h"
#include "mailbox/mailbox_layout.h"
#include "peek/message_download.h"
#include "main_window/dlg_main.h"
#include "res/resources.h"
#include "ui/backend.h"

namespace larkspin {

namespace {
constexpr Colour kEvenRowBackground = Rgb(245, 245, 245);
constexpr Colour kOddRowBackground = Rgb(230, 230, 230);
}  // namespace

HeaderRow* CDlgMain::RowRecord(int position) { return model_.Record(list_.RowKey(position)); }

const HeaderRow* CDlgMain::RowRecord(int position) const { return model_.Record(list_.RowKey(position)); }

int CDlgMain::PositionOfRow(RowId row_id) const {
  for (int position = 0; position < list_.RowCount(); ++position)
    if (list_.RowKey(position) == row_id) return position;
  return -1;
}

int CDlgMain::InsertRow(const std::vector<std::string>& texts, const HeaderRow& record, int icon,
                        TextEncoding encoding) {
  std::vector<std::string> row_texts = texts;
  row_texts.resize(MainWindowColumns().size());  // a folder view leaves the Signals column empty
  const int position = list_.InsertRow(row_texts, record.row_id, icon, encoding);
  if (position >= 0) model_.AddRow(record);
  return position;
}

void CDlgMain::StripeRows() {
  for (int position = 0; position < list_.RowCount(); ++position)
    list_.SetRowBackground(position, position % 2 == 0 ? kEvenRowBackground : kOddRowBackground);
}

void CDlgMain::RemoveRow(int position) {
  model_.RemoveRow(list_.RowKey(position));
  list_.ClearRowColours(position);
  list_.DeleteRow(position);
}

void CDlgMain::RemoveAllRows() {
  for (int position = 0; position < list_.RowCount(); ++position) list_.ClearRowColours(position);
  list_.DeleteAll();
  model_.RemoveAllRows();
}

void CDlgMain::SetRowIcon(int position, int icon) {
  list_.SetRowIcon(position, icon);
  list_.SelectRow(position);
}

void CDlgMain::MarkForDeletion() {
  if (folder_view_ == MailboxView::kDeleted) return;  // its rows are records, not messages
  for (const int position : list_.SelectedRows()) {
    const HeaderRow* row = model_.MarkForDeletion(list_.RowKey(position));
    if (!row) continue;
    SetRowIcon(position, kIconRowDeleteMark);
    if (IsFolderView(folder_view_)) std::remove(row->local_file.c_str());
  }
  if (IsFolderView(folder_view_)) ShowView(folder_view_);
}

void CDlgMain::ResetMail() {
  for (const int position : list_.SelectedRows()) UnmarkRow(position);
}

// Clears both marks; the row shows again whether its message is stored.
void CDlgMain::UnmarkRow(int position) {
  const HeaderRow* row = model_.Unmark(list_.RowKey(position));
  if (!row) return;
  SetRowIcon(position, row->local_file.empty() ? kIconRowOnServer : kIconRowStored);
}

void CDlgMain::MarkForDownload() {
  for (const int position : list_.SelectedRows()) {
    const CMainWindowModel::DownloadMarking marking = model_.MarkForDownload(list_.RowKey(position));
    if (marking == CMainWindowModel::DownloadMarking::kAlreadyStored)
      MessageBox("Message already downloaded.", kBoxOk | kBoxIconInformation);
    else if (marking == CMainWindowModel::DownloadMarking::kMarked)
      SetRowIcon(position, kIconRowDownloadMark);
  }
}

void CDlgMain::AddSenderToAddressBook() {
  const int position = list_.FirstSelected();
  const HeaderRow* row = RowRecord(position);
  if (!row) return;
  InputRequest request;
  request.caption = LoadResourceString(kStringAddSenderCaption);
  request.prompt = LoadResourceString(kStringAddSenderPrompt);
  request.initial_text =
      FormatText("%s*%s", list_.Text(position, kFromColumn).c_str(), row->sender_address.c_str());
  request.answer_encoding = session_.text_encoding;
  InputAnswer answer;
  if (input_.Ask(request, answer)) AppendToAddressBook(working_directory_ + kAddressBookFile, answer.text);
}

void CDlgMain::ShowListMenu(Point screen_point) {
  const bool enabled = !all_accounts_;
  CMenu menu;
  menu.AppendItem(kCommandResetMail, "Reset mail", enabled);
  menu.AppendItem(kCommandMarkForDeletion, "Mark for deletion", enabled);
  menu.AppendItem(kCommandMarkForDownload, "Mark for download", enabled);
  menu.AppendSeparator();
  menu.AppendItem(kCommandAddSender, "Add to Sender to Address Book", enabled);
  menu.AppendSeparator();
  const bool online = folder_view_ == MailboxView::kOnline;
  menu.AppendItem(kCommandBlockSender, "Block sender", online);
  menu.AppendItem(kCommandBlockDomain, "Block domain", online);
  menu.AppendItem(kCommandAllowSender, "Always allow sender", online || folder_view_ == MailboxView::kDeleted);
  menu.AppendItem(kCommandWhy, "Why?", online);
  TrackPopupMenu(menu, screen_point);
}

void CDlgMain::OpenSelectedMessage() {
  const int position = list_.FirstSelected();
  if (position < 0) return;
  const HeaderRow* selected = RowRecord(position);
  if (folder_view_ == MailboxView::kDrafts) {
    if (selected) OpenDraft(selected->local_file);
    return;
  }
  if (folder_view_ == MailboxView::kDeleted) return;
  // A running peek holds the POP3 client; only stored messages open meanwhile.
  if (!model_.Allows(MainWindowAction::kPeek) && selected && selected->local_file.empty()) {
    SetStatusText(kOpenAfterPeekText);
    return;
  }
  const int answer = DownloadRow(position, false);
  // Only a message whose file was stored (now or before) is marked and shown.
  const HeaderRow* row = RowRecord(position);
  if (answer != kDownloadNotConnected && row && !row->local_file.empty()) {
    SetRowIcon(position, kIconRowStored);
    CWaitCursor wait;
    MessageViewRequest request;
    request.attachment_folder = folder_view_ == MailboxView::kSent ? "" : working_directory_ + AccountFolder(account_.account_number);
    request.attachment_count = answer;
    request.subject = list_.Text(position, kSubjectColumn);
    request.sender = list_.Text(position, kFromColumn);
    request.file_name = row->local_file;
    if (services_.show_message) services_.show_message(request);
  }
  list_.SelectRow(position);
  if (countdown_.UserConnection()) {
    KillTimer(kIdleTimer);
    SetTimer(kIdleTimer, kTimerPeriodMs);
  }
}

}  // namespace larkspin
