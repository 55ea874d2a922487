// The mailbox session's events as the main window shows them. The session calls them on its own
// thread (the peek worker's, or the UI thread for the window's own commands); each is applied on
// the UI thread before it returns.
#include <unordered_set>

#include "common/format.h"
#include "common/message_box.h"
#include "config/log.h"
#include "main_window/dlg_main.h"
#include "main_window/screening_texts.h"
#include "peek/new_mail.h"
#include "peek/row_texts.h"
#include "res/resources.h"
#include "ui/backend.h"

namespace larkspin {

namespace {
constexpr Colour kLargeMessageColour = Rgb(170, 10, 10);
}  // namespace

void CDlgMain::OnStatus(const std::string& text) {
  OnUi([&] { SetStatusText(text); });
}

void CDlgMain::OnLeaveBusy() {
  OnUi([&] { ApplyState(MainWindowEvent::kConnectionReleased); });
}

void CDlgMain::OnLoginFailed(const LoginFailure& failure) {
  if (!failure.one_account) return;
  const std::string box = FormatText("Error connecting to %s: %s\nUser: %s", failure.host.c_str(),
                                     failure.reply.c_str(), failure.login.c_str());
  OnUi([&] { MessageBox(box, kBoxOk | kBoxIconWarning); });
}

void CDlgMain::OnRowsCleared() {
  OnUi([&] {
    RemoveAllRows();
    TitleWithoutCount();
  });
}

void CDlgMain::OnProgressRange(int count) {
  OnUi([&] {
    progress_.SetRange(0, count);
    progress_.SetStep(1);
  });
}

void CDlgMain::OnProgressStep() {
  OnUi([&] { progress_.StepIt(); });
}

// Side by side, the bar counts the headers of every account together, and the status line names
// the accounts still at work until the peek's total takes its place.
void CDlgMain::OnAccountsAtWork(const AccountsAtWork& work) {
  OnUi([&] {
    if (progress_.State().upper != work.count) progress_.SetRange(0, work.count);
    progress_.SetPos(work.read);
    if (!work.running.empty()) SetStatusText(AccountsAtWorkText(work));
  });
}

void CDlgMain::OnHeaderRow(const PeekedRow& row) {
  OnUi([&] {
    const RowTexts texts = MakeRowTexts(row.message, row.record.account);
    const ScreeningVerdict verdict = VerdictOf(row);
    const int icon = row.record.local_file.empty() ? kIconRowOnServer : kIconRowStored;
    const int position = InsertRow({texts.from, texts.subject, texts.date, texts.account, texts.size,
                                    SignalsColumnText(verdict)},
                                   row.record, icon, texts.encoding);
    if (position < 0) return;
    if (row.large) list_.SetRowTextColour(position, kLargeMessageColour);
    ApplyVerdict(position, verdict);
  });
}

void CDlgMain::OnDownloadStarted() {
  OnUi([] { UiBackend().BeginWaitCursor(); });
}

// The row takes the stored file and attachments when it still exists; the notices are shown
// in their order either way.
void CDlgMain::OnDownloadResult(const DownloadOutcome& outcome) {
  OnUi([&] {
    const int position = PositionOfRow(outcome.row_id);
    if (HeaderRow* record = RowRecord(position)) {
      record->local_file = outcome.record.local_file;
      record->attachments = outcome.record.attachments;
    }
    for (const DownloadNotice& notice : outcome.result.notices) {
      if (notice.kind == DownloadNotice::Kind::kStatus) SetStatusText(notice.text);
      else if (notice.language_key.empty()) MessageBox(notice.text, kBoxOk);
      else MessageBox(language_.Text("Messages", notice.language_key, notice.text), kBoxOk);
    }
    if (outcome.result.stored && position >= 0)
      SetRowIcon(position, outcome.automatic ? kIconRowDownloadedAutomatically : kIconRowStored);
    UiBackend().EndWaitCursor();
    if (outcome.automatic) list_.DeselectAll();
  });
}

void CDlgMain::OnMessageDeleted(RowId row_id) {
  OnUi([&] {
    const int position = PositionOfRow(row_id);
    if (position >= 0) RemoveRow(position);
  });
}

void CDlgMain::OnDeleteRefused(const ServerFailure& failure) {
  OnUi([&] { MessageBox(ServerFailureText(failure), kBoxOk); });
}

// The row stays, unmarked, so the user sees which mark was not carried out.
void CDlgMain::OnMarkDropped(RowId row_id) {
  OnUi([&] { UnmarkRow(PositionOfRow(row_id)); });
}

void CDlgMain::OnLoggedOut() {
  OnUi([&] { ReturnToIdle(); });
}

// The list is sorted and titled, new rows told by their UIDL ids turn bold, an automatic or
// all-accounts peek disconnects (asking first when rows were marked meanwhile), and new mail
// (new_mail.h) and the accounts that could not be checked are announced.
void CDlgMain::OnPeekFinished(const PeekSummary& summary) {
  OnUi([&] {
    account_ = summary.account;
    const std::vector<RowId> new_rows = NewMailRows(summary, previous_total_);
    const bool found_new_mail = FoundNewMail(summary, previous_total_, new_rows);
    previous_total_ = summary.total_count;
    // Named before the disconnect, which may delete rows marked meanwhile.
    const std::vector<NewMessageLine> new_messages = NewMessageLines(new_rows);
    SortAndTitle(summary);
    ShowRuleCounts();
    ShowInBold(RowsNewByUniqueId(summary));
    if (countdown_.Automatic() || summary.all_accounts) Disconnect(DisconnectCause::kWindow);
    if (found_new_mail) PlayNewMailSound(sound_);
    ShowPeekNotice(found_new_mail ? new_messages : std::vector<NewMessageLine>(),
                   FailedAccountsText(summary.failed_accounts));
    if (countdown_.UserConnection()) SetTimer(kIdleTimer, kTimerPeriodMs);
    PeekFinished();
  });
}

std::vector<NewMessageLine> CDlgMain::NewMessageLines(const std::vector<RowId>& rows) const {
  std::vector<NewMessageLine> lines;
  for (const RowId row_id : rows) {
    const int position = PositionOfRow(row_id);
    if (position >= 0) lines.push_back({list_.Utf8Text(position, kFromColumn), list_.Utf8Text(position, kSubjectColumn)});
  }
  return lines;
}

void CDlgMain::ShowPeekNotice(const std::vector<NewMessageLine>& messages, const std::string& failed_accounts) {
  if (!notify_ || (messages.empty() && failed_accounts.empty())) return;
  NewMailNotice notice{kMessageBoxCaption, failed_accounts};
  if (!messages.empty()) {
    notice = MakeNewMailNotice(messages, ReadNewMailNoticeTexts(language_));
    if (!failed_accounts.empty()) notice.text += "\n" + failed_accounts;
  }
  if (UiBackend().ShowNotification(Peer(), notice.title, notice.text) || notification_service_missed_) return;
  notification_service_missed_ = true;
  LogEvent("No desktop notification service: new mail is announced by its sound only.");
}

void CDlgMain::SortAndTitle(const PeekSummary& summary) {
  list_.Sort(kDateColumn, false);
  if (summary.all_accounts) {
    list_.Sort(kAccountColumn, true);
    for (const int id : {kDownloadButton, kDeleteButton, kResetButton, kFolderSelector}) EnableItem(id, false);
  } else {
    ApplyState(MainWindowEvent::kConnectionKept);
  }
  StripeRows();
  TitleWithRowCount();
}

void CDlgMain::ShowInBold(const std::vector<RowId>& rows) {
  const std::unordered_set<RowId> bold(rows.begin(), rows.end());
  for (int position = 0; position < list_.RowCount(); ++position)
    if (bold.contains(list_.RowKey(position))) list_.SetRowBold(position, true);
}

}  // namespace larkspin
