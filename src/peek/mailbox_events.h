#pragma once
// What a mailbox session tells its owner, and in which order.
//
// A session (mailbox_session.h) talks to one POP3 server on the thread that calls it: the main
// window's peek worker for a peek, the UI thread for the Disconnect command and a double-click
// download. It never touches a window; everything the user should see leaves it as one of the
// events below, called on the session's thread, one at a time. An owner that shows them applies
// each on its UI thread before it returns, so the session goes on only once the screen agrees.
// Questions to the user (a missing login or password) go through the account's CInputPrompt.
//
// A one-account peek reports, in order:
//   OnStatus("connecting to ...")
//   on a refused login: OnRowsCleared, the logout (OnStatus "Disconnecting..." while a
//     connection stood), OnLoggedOut, OnStatus(failure), OnLeaveBusy, OnLoginFailed; then the end
//   per message marked for download: OnDownloadStarted, OnDownloadResult
//   per message marked for deletion: OnStatus("Delete message N from server"), OnMessageDeleted
//     (a refused DELE: OnDeleteRefused, and the deleting stops)
//   a mark whose message no longer is the one listed (the mailbox changed since; see
//     message_identity.h) is dropped instead: OnMarkDropped, and a status text with the count
//   OnRowsCleared, OnProgressRange(count)
//   per message: OnStatus("Reading header i of n ..."), OnHeaderRow, [with download-all:
//     OnDownloadStarted, OnDownloadResult], OnProgressStep; a lost connection ends the list;
//     a header too large to read still gets its row (header_too_large.h), after which the
//     session logs in again before the next message (a refused login ends the list as a lost
//     connection does)
//   OnStatus("Total messages ..."), [OnStatus("Connection to ... lost ...")], OnPeekFinished
// An all-accounts peek repeats the account part for each account with a stored login and
// password (the others are skipped without a question), clears the rows once, logs out after
// each account (OnLoggedOut), and ends with one OnStatus total, which names the accounts that
// could not be checked, and OnPeekFinished. After
// OnPeekFinished returns, the session's thread reports nothing more for that peek.
#include <string>
#include <vector>

#include "config/current_account.h"
#include "config/startup_settings.h"
#include "peek/account_failures.h"
#include "peek/header_row.h"
#include "peek/message_download.h"
#include "peek/row_texts.h"

namespace larkspin {

// One message listed by a peek.
struct PeekedRow {
  RowTexts texts;     // the five column texts and the stored file, if any
  HeaderRow record;   // the row's record, unmarked
  bool large = false; // above the mail threshold: shown in the large-message colour
};

// A login the server refused (or a server that could not be reached).
struct LoginFailure {
  std::string host;
  std::string login;
  std::string reply;         // the server's reply or the local failure
  bool one_account = false;  // a one-account peek shows it in a message box too
};

// The end of one message download.
struct DownloadOutcome {
  RowId row_id = 0;
  HeaderRow record;       // the row's record with its stored file and attachments filled in
  DownloadResult result;  // the code, whether the file was stored, and what to show, in order
  bool automatic = false; // a download-all download: shown as such, the selection cleared afterwards
};

// A row as listed, with the server's number of its message.
struct ListedRow {
  RowId row_id = 0;
  int message_number = 0;
};

// One account's part of a peek's list, for telling the new mail (new_mail.h).
struct AccountListing {
  int account_number = 0;
  std::vector<ListedRow> rows;  // the rows listed, in the server's order
  // The new rows were told by the seen-ids file (seen_ids.h); false where the rule is Count or
  // the server has no UIDL.
  bool by_seen_ids = false;
  // The rows that are new mail: by their ids, or else by the account's count (the messages
  // numbered above its count at its previous peek).
  std::vector<RowId> new_rows;
};

// The end of a peek.
struct PeekSummary {
  explicit PeekSummary(const CCurrentAccount& last_account) : account(last_account) {}
  int total_count = 0;
  int total_size = 0;
  bool all_accounts = false;
  CCurrentAccount account;  // the account as the peek left it, with the credentials it used
  NewMailRule new_mail_by = NewMailRule::kCount;
  std::vector<AccountListing> listings;  // the accounts whose messages were listed, in order
  // All accounts: the accounts skipped or not reached, in order (the total's status says so too).
  std::vector<AccountFailure> failed_accounts;
};

class CMailboxEvents {
 public:
  virtual ~CMailboxEvents() = default;

  virtual void OnStatus(const std::string& text) = 0;
  // The connection is gone after a failed login: the window leaves its busy state.
  virtual void OnLeaveBusy() = 0;
  virtual void OnLoginFailed(const LoginFailure& failure) = 0;
  // Every row of the list goes.
  virtual void OnRowsCleared() = 0;
  // The headers of one account follow: count progress steps.
  virtual void OnProgressRange(int count) = 0;
  virtual void OnProgressStep() = 0;
  virtual void OnHeaderRow(const PeekedRow& row) = 0;
  virtual void OnDownloadStarted() = 0;
  virtual void OnDownloadResult(const DownloadOutcome& outcome) = 0;
  virtual void OnMessageDeleted(RowId row_id) = 0;
  virtual void OnDeleteRefused(const std::string& text) = 0;
  // The row's mark was not carried out: its message number names another message now.
  virtual void OnMarkDropped(RowId row_id) = 0;
  // A peek closed its connection (between accounts, after a failed login): idle again.
  virtual void OnLoggedOut() = 0;
  virtual void OnPeekFinished(const PeekSummary& summary) = 0;
};

}  // namespace larkspin
