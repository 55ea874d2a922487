#pragma once
// One peek on a mailbox session: logs into the planned account (or into every account in turn),
// carries out the plan's download and delete marks, and lists one row per waiting message from
// its header alone ("TOP n 0"). The events it reports and their order: mailbox_events.h. Under
// NewMailBy=Uidl it also tells each account's new rows by their UIDL ids and keeps the account's
// seen-ids file (seen_ids.h).
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "peek/mailbox_session.h"
#include "peek/seen_ids.h"
#include "peek/stored_messages.h"

namespace larkspin {

class CPeekRun {
 public:
  CPeekRun(CMailboxSession& session, const PeekPlan& plan, CMailboxEvents& events, std::atomic<int>& server_count);
  void Run();

 private:
  // All accounts, up to parallel_accounts at once: the last account on the session's own client
  // (so the session is left as a one-after-the-other peek leaves it), the others each on a
  // session of their own; their events handed on in account order, where they stand as it changes.
  void VisitAccountsSideBySide();
  // The totals, listings and failures of an account visited by run, after those before it.
  void TakeAccountResults(const CPeekRun& run);
  void VisitAccount(int account_number);
  void ReportKeyringSkip();
  void NoteFailedAccount(const std::string& reason);
  // Logs into the account; the session counts as connected once it succeeded.
  bool LogIn();
  void ReportConnectFailure();
  void ReportFailedLogin();
  void LogOutBetweenAccounts();
  // The orders in turn, on the connection as it stands.
  void DownloadRows(const std::vector<DownloadOrder>& orders);
  bool CarryOutDeletions();
  void ClearListOnce();
  void FetchHeaders();
  // With a pipelining plan: STAT, LIST and the UIDL the peek needs in one go; false once the
  // connection is lost.
  bool FetchListings();
  // One row per message, 1..count; false once the connection is lost.
  bool ListMessages(int count, int offset);
  // The rows download-all took from a pipelined list (taken_rows_), as one run.
  void DownloadTakenRows(int count);
  // With a pipelining plan: the headers first..count are asked as one run. Always true.
  bool PlanHeaders(int first, int count);
  bool FetchHeader(int number, int count, int offset);
  // Fills in the row's record, reports the row and notes it as listed.
  void ListRow(PeekedRow& row, int offset);
  // False when the new login was refused.
  bool LogInAgain();
  void ReportLostConnection(int listed, int count, bool new_login_refused = false);
  void BeginListing();
  void NoteListedRow(RowId row_id, int message_number, const std::string& unique_id);
  void EndListing(int count);
  // Download-all's download of a row: at once in lock-step, else taken for the run after the list.
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
  std::optional<LostConnection> lost_connection_;  // the last connection lost in the middle of a list
  std::vector<AccountListing> listings_;
  std::vector<AccountFailure> failures_;  // all accounts: the accounts not checked
  std::optional<CSeenIds> seen_ids_;     // the listed account's, under NewMailBy=Uidl with UIDL
  std::vector<std::string> server_ids_;  // the listed account's UIDL list, with seen_ids_
  std::optional<CStoredMessages> stored_;  // the listed account's stored messages
  std::vector<DownloadOrder> taken_rows_;  // the listed account's rows download-all takes, pipelined
};

}  // namespace larkspin
