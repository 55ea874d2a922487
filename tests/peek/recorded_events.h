#pragma once
// A mailbox session's events as the session tests read them: the status events as the status
// line would say them with the short texts below, the rows with the Subject column's text.
#include <optional>
#include <string>
#include <vector>

#include "common/format.h"
#include "peek/mailbox_events.h"
#include "peek/mailbox_session.h"
#include "peek/row_texts.h"

namespace larkspin {

// Every event as one line of text, in the order it came.
class CRecordedEvents : public CMailboxEvents {
 public:
  void OnConnecting(const std::string& host) override { Status(FormatText("connecting to '%s'...", host.c_str())); }
  void OnAccountSkipped(const std::string& account_name, const std::string& reason) override {
    Status(FormatText("Account '%s' skipped: %s", account_name.c_str(), reason.c_str()));
  }
  void OnAccountWithoutCredentials(const SkippedAccount& account) override { skipped.push_back(account); }
  void OnConnectFailed(const std::string& host, const std::string& reply) override {
    Status(ConnectFailureText(host, reply));
  }
  void OnServerFailure(const ServerFailure& failure) override { Status(ServerFailureText(failure)); }
  void OnFetchingHeader(int number, int count, int) override {
    Status(FormatText("Reading header %d of %d", number, count));
  }
  void OnDeleting(int list_position) override { Status(FormatText("Delete message %d from server", list_position)); }
  void OnMessagesRemoved(int) override {}  // a line of the log, not of the status
  void OnMarksDropped(int count) override { Status(DroppedMarksText(count)); }
  void OnDisconnecting() override { Status(disconnecting); }
  void OnDisconnected() override { Status(disconnecting + "Ok"); }
  void OnPeekTotal(const PeekTotal& total) override {
    std::string text = FormatText("Total %d %.2lf %d", total.count, total.size / 1024.0, total.size);
    if (total.dropped_marks > 0) text += "   " + DroppedMarksText(total.dropped_marks);
    if (!total.failed_accounts.empty()) text += "   " + FailedAccountsText(total.failed_accounts);
    Status(text);
  }
  void OnConnectionLost(const LostConnection& lost) override {
    lost_connection = lost;
    Status(LostConnectionText(lost));
  }
  void OnLeaveBusy() override { Add("leave busy"); }
  void OnLoginFailed(const LoginFailure& failure) override {
    Add("login failed " + failure.host + " " + failure.login + (failure.one_account ? " box" : ""));
  }
  void OnRowsCleared() override { Add("cleared"); }
  void OnProgressRange(int count) override { Add(FormatText("range %d", count)); }
  void OnProgressStep() override { Add("step"); }
  void OnHeaderRow(const PeekedRow& row) override {
    rows.push_back(row.record);
    messages.push_back(row.message);
    Add(FormatText("row %d/%d %s", row.record.account_number, row.record.message_number, MakeRowTexts(row.message, row.record.account).subject.c_str()));
  }
  void OnDownloadStarted() override { Add("download"); }
  void OnDownloadResult(const DownloadOutcome& outcome) override {
    downloads.push_back(outcome);
    Add(FormatText("downloaded %d %s", outcome.record.message_number, outcome.result.stored ? "stored" : "not stored"));
  }
  void OnMessageDeleted(RowId row_id) override { Add(FormatText("deleted row %llu", static_cast<unsigned long long>(row_id))); }
  void OnDeleteRefused(const ServerFailure& failure) override { Add("refused " + ServerFailureText(failure)); }
  void OnMarkDropped(RowId row_id) override {
    dropped.push_back(row_id);
    Add("dropped");
  }
  void OnLoggedOut() override { Add("logged out"); }
  void OnPeekFinished(const PeekSummary& summary) override {
    finished.emplace(summary);
    Add(FormatText("finished %d %d", summary.total_count, summary.total_size));
  }
  // Apart from the lines, whose order it would make depend on timing.
  void OnAccountsAtWork(const AccountsAtWork& work) override { at_work.push_back(work); }

  std::string disconnecting = "Disconnecting...";
  std::vector<std::string> lines;
  std::vector<HeaderRow> rows;
  std::vector<PeekedMessage> messages;
  std::vector<DownloadOutcome> downloads;
  std::vector<RowId> dropped;
  std::optional<PeekSummary> finished;
  std::optional<LostConnection> lost_connection;
  std::vector<SkippedAccount> skipped;  // OnAccountWithoutCredentials, apart from the lines
  std::vector<AccountsAtWork> at_work;

 private:
  void Add(const std::string& line) { lines.push_back(line); }
  void Status(const std::string& text) { Add("status " + text); }
};

}  // namespace larkspin
