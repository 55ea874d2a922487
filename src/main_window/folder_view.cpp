// The Offline, Sent and Drafts views: the header list filled from the current account's stored
// message files (mailbox<N>/*.txt), its sent copies (mailbox<N>/sent/*.txt) or its drafts
// (mailbox<N>/drafts/*.txt); and the Deleted view, filled from deleted.log.
#include "common/format.h"
#include "compose/sent_copy.h"
#include "mailbox/message_file.h"
#include "main_window/dlg_main.h"
#include "mime/mail_date.h"
#include "peek/deleted_log.h"
#include "peek/row_texts.h"
#include "platform/file_listing.h"
#include "platform/file_system.h"
#include "res/resources.h"
#include "ui/backend.h"

namespace larkspin {

namespace {
const char* SubFolderOf(MailboxView view) {
  switch (view) {
    case MailboxView::kSent: return "sent/";
    case MailboxView::kDrafts: return "drafts/";
    default: return "";
  }
}
}  // namespace

void CDlgMain::FillFolderView(MailboxView view) {
  CWaitCursor wait;
  // Sent copies and drafts name their recipients and keep their own time stamp.
  const bool sent = view != MailboxView::kOffline;
  const std::string folder =
      FormatText("%smailbox%d/%s", working_directory_.c_str(), account_.account_number, SubFolderOf(view));
  std::vector<std::string> files;
  ListFiles(folder + "*.txt", files);
  int total_bytes = 0;
  for (const std::string& name : files) {
    const std::string path = folder + name;
    const std::string content = ReadWholeFile(path).value_or("");
    total_bytes += static_cast<int>(content.size());
    const std::string who = StoredField(content, sent ? kToLabel : kFromLabel);
    const std::string when = StoredField(content, kSentLabel);
    HeaderRow record;
    record.local_file = path;
    record.sender_address = SenderAddress(who);
    record.account = account_.display_name;
    const double kilobytes = static_cast<double>(content.size()) / 1024 + 1;
    const std::string date_column =
        sent ? SentFieldDateText(when) : DateColumnText(SplitMailDate(when, session_.text_encoding));
    InsertRow({who, StoredField(content, kSubjectLabel), date_column,
                     account_.display_name, FormatText("%.0lfk", kilobytes)},
                    record, kIconRowStored);
  }
  list_.Sort(kDateColumn, false);
  StripeRows();
  TitleWithRowCount();
  // The total counts what the view lists, not what the server held at the last peek.
  SetStatusText(FormatText(MakeSessionTexts().total.c_str(), list_.RowCount(),
                           static_cast<double>(total_bytes) / 1024, total_bytes));
}

// Every account's deletions, the latest first: when each went, and the rule that marked it.
void CDlgMain::FillDeletedView() {
  CWaitCursor wait;
  const std::vector<DeletedMessage> deleted = ReadDeletedLog(working_directory_ + kDeletedLogFile);
  for (auto message = deleted.rbegin(); message != deleted.rend(); ++message) {
    HeaderRow record;
    record.sender_address = SenderAddress(message->from);
    record.account = message->account;
    const std::string rule = message->rule.empty() ? kDeletedByHand : message->rule;
    InsertRow({message->from, message->subject, message->time, message->account,
               FormatText("%.0lfk", static_cast<double>(message->size) / 1024 + 1), rule},
              record, kIconRowDeleteMark, TextEncoding::kUtf8);
  }
  StripeRows();
  TitleWithRowCount();
  SetStatusText(FormatText("%d message(s) deleted on the server, as %s records them.", list_.RowCount(), kDeletedLogFile));
}

}  // namespace larkspin
