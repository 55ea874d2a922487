#pragma once
// One peek on a mailbox session: logs into the planned account (or into every account in turn),
// carries out the plan's download and delete marks, and lists one row per waiting message from
// its header alone ("TOP n 0"). The events it reports and their order: mailbox_events.h.
#include <atomic>
#include <string>

#include "peek/mailbox_session.h"

namespace larkspin {

class CPeekRun {
 public:
  CPeekRun(CMailboxSession& session, const PeekPlan& plan, CMailboxEvents& events, std::atomic<int>& server_count);
  void Run();

 private:
  void VisitAccount(int account_number);
  void ReportKeyringSkip();
  // Logs into the account; the session counts as connected once it succeeded.
  bool LogIn();
  void ReportConnectFailure();
  void ReportFailedLogin();
  void LogOutBetweenAccounts();
  void DownloadMarkedRows();
  bool CarryOutDeletions();
  void ClearListOnce();
  void FetchHeaders();
  bool FetchHeader(int number, int count, double total_kb, int offset);
  void ReportLostConnection(int listed, int count);
  void DownloadAutomatically(const PeekedRow& row);

  CMailboxSession& session_;
  CPop3Client& client_;
  const PeekPlan& plan_;
  CMailboxEvents& events_;
  std::atomic<int>& server_count_;
  CCurrentAccount account_;
  std::string account_name_;
  bool list_cleared_ = false;
  int total_count_ = 0;
  int total_size_ = 0;
  std::string lost_connection_;  // what the status line says last when a connection was lost
};

}  // namespace larkspin
