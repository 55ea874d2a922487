#pragma once
// A mailbox session's events as the session tests read them.
#include <optional>
#include <string>
#include <vector>

#include "common/format.h"
#include "peek/mailbox_events.h"

namespace larkspin {

// Every event as one line of text, in the order it came.
class CRecordedEvents : public CMailboxEvents {
 public:
  void OnStatus(const std::string& text) override { Add("status " + text); }
  void OnLeaveBusy() override { Add("leave busy"); }
  void OnLoginFailed(const LoginFailure& failure) override {
    Add("login failed " + failure.host + " " + failure.login + (failure.one_account ? " box" : ""));
  }
  void OnRowsCleared() override { Add("cleared"); }
  void OnProgressRange(int count) override { Add(FormatText("range %d", count)); }
  void OnProgressStep() override { Add("step"); }
  void OnHeaderRow(const PeekedRow& row) override {
    rows.push_back(row.record);
    Add(FormatText("row %d/%d %s", row.record.account_number, row.record.message_number, row.texts.subject.c_str()));
  }
  void OnDownloadStarted() override { Add("download"); }
  void OnDownloadResult(const DownloadOutcome& outcome) override {
    downloads.push_back(outcome);
    Add(FormatText("downloaded %d %s", outcome.record.message_number, outcome.result.stored ? "stored" : "not stored"));
  }
  void OnMessageDeleted(RowId row_id) override { Add(FormatText("deleted row %llu", static_cast<unsigned long long>(row_id))); }
  void OnDeleteRefused(const std::string& text) override { Add("refused " + text); }
  void OnMarkDropped(RowId row_id) override {
    dropped.push_back(row_id);
    Add("dropped");
  }
  void OnLoggedOut() override { Add("logged out"); }
  void OnPeekFinished(const PeekSummary& summary) override {
    finished.emplace(summary);
    Add(FormatText("finished %d %d", summary.total_count, summary.total_size));
  }

  std::vector<std::string> lines;
  std::vector<HeaderRow> rows;
  std::vector<DownloadOutcome> downloads;
  std::vector<RowId> dropped;
  std::optional<PeekSummary> finished;

 private:
  void Add(const std::string& line) { lines.push_back(line); }
};

}  // namespace larkspin
