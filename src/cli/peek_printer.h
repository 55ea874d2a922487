#pragma once
// The command line's receiver of a peek (the window's counterpart is CSessionStatus): each listed
// message as one tab-separated line on standard output, the total line after them, and each
// problem as one "larkspin: " line on standard error, in the order the session reports them.
// A failed QUIT is not a problem here: the command line marks nothing, so nothing is lost by it.
#include <string>

#include "cli/quiet_events.h"
#include "peek/mailbox_session.h"

namespace larkspin {

// "Total messages: N     Total size: K kbyte (S byte)" on standard output.
void PrintPeekTotal(int count, int size);

class CPeekPrinter : public CQuietEvents {
 public:
  void OnAccountWithoutCredentials(const SkippedAccount& skipped) override;
  void OnConnectFailed(const std::string& host, const std::string& reply) override;
  void OnServerFailure(const ServerFailure& failure) override;
  void OnHeaderRow(const PeekedRow& row) override;
  void OnPeekTotal(const PeekTotal& total) override;
  void OnConnectionLost(const LostConnection& lost) override;
  void OnPeekFinished(const PeekSummary& summary) override;

  // One problem on standard error; the command then exits with status 1.
  void PrintProblem(const std::string& reason);
  bool Failed() const { return failed_; }

 protected:
  // A header too large to read cost the connection: standard error names the message with the
  // reply that closed it.
  void ReportUnreadHeader(const PeekedRow& row);

 private:
  bool failed_ = false;
};

}  // namespace larkspin
