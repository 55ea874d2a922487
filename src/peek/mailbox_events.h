#pragma once
// What a mailbox session tells its owner, and in which order.
//
// A session (mailbox_session.h) talks to one POP3 server on the thread that calls it: the main
// window's peek worker for a peek, the UI thread for the Disconnect command and a double-click
// download. It never touches a window and never makes a display text: everything the user should
// see leaves it as one of the events below, carrying facts (a listed message's PeekedMessage, a
// server's reply, counts), called on the session's thread, one at a time. The owner makes the
// texts and boxes from them in its own language. An owner that shows them applies each on its UI
// thread before it returns, so the session goes on only once the screen agrees. Questions to the
// user (a missing login or password) go through the account's CInputPrompt.
//
// A one-account peek reports, in order:
//   [a plan that skips accounts without credentials: OnAccountWithoutCredentials, then the end]
//   OnConnecting(host)
//   on a refused login: OnRowsCleared, the logout (OnDisconnecting while a connection stood,
//     then OnDisconnected or OnServerFailure), OnLoggedOut, OnConnectFailed(host, reply),
//     OnLeaveBusy, OnLoginFailed; then the end
//   per message marked for download: OnDownloadStarted, OnDownloadResult
//   per message marked for deletion: OnDeleting(position), OnMessageDeleted (a refused DELE:
//     OnDeleteRefused, and the deleting stops); after deletions, OnMessagesRemoved(count)
//   a mark whose message no longer is the one listed (the mailbox changed since; see
//     message_identity.h) is dropped instead: OnMarkDropped, and OnMarksDropped with the count
//   OnRowsCleared, OnProgressRange(count)
//   per message: OnFetchingHeader(i, n, total size), OnHeaderRow, [with download-all in
//     lock-step: OnDownloadStarted, OnDownloadResult], OnProgressStep; a server's refusal of one
//     message is OnServerFailure; a lost connection ends the list; a header too large to read
//     still gets its row (header_too_large.h), after which the session logs in again before the
//     next message (a refused login ends the list as a lost connection does)
//   with download-all on a connection that pipelines, once the whole list is read: per row it
//     downloads, OnDownloadStarted, OnDownloadResult (or, for a row listed before a new login whose
//     message changed, OnMarkDropped and OnMarksDropped); a connection lost in them ends them, and
//     it, or a refused new login before them, is reported as lost after all n headers
//   OnPeekTotal, [OnConnectionLost(host, i of n, reply)], OnPeekFinished
// An all-accounts peek repeats the account part for each account with a stored login and
// password (the others are skipped without a question: OnAccountWithoutCredentials, after
// OnAccountSkipped where a keyring could not be read), clears the rows once, logs out after each account (OnLoggedOut), and ends
// with one OnPeekTotal, which names the accounts that could not be checked, and OnPeekFinished.
// Visited side by side, the accounts' events still come in account order, but where each account
// stands is told live instead, by OnAccountsAtWork: the accounts' OnConnecting, OnFetchingHeader,
// OnProgressRange, OnProgressStep, OnDisconnecting, OnDisconnected and OnLoggedOut, which would
// only come once the accounts before them are done, are left out.
// After OnPeekFinished returns, the session's thread reports nothing more for that peek.
#include <string>
#include <vector>

#include "config/current_account.h"
#include "config/startup_settings.h"
#include "peek/account_failures.h"
#include "peek/header_row.h"
#include "peek/message_download.h"
#include "peek/peeked_message.h"

namespace larkspin {

// One message listed by a peek.
struct PeekedRow {
  PeekedMessage message;  // the facts of its header, LIST and UIDL
  HeaderRow record;       // the row's record, unmarked, with its stored file if there is one
  bool large = false;     // above the mail threshold: shown in the large-message colour
  std::string header_failure;  // a header too large to read: the reply that closed the connection
};

// A command the server refused, or that failed on the connection, with the reply as it may be
// shown (short, on one line).
struct ServerFailure {
  std::string command;  // "Statistics", "GetMessageSize", "GetMessageHeader", "Delete", "Disconnect"
  std::string reply;
};

// "Error <command>: <reply>", as the status line and the log say it.
std::string ServerFailureText(const ServerFailure& failure);

// A connection that ended in the middle of an account's list.
struct LostConnection {
  std::string host;
  int listed = 0;  // the headers listed before it was lost
  int count = 0;   // the messages on the server
  std::string reply;
  bool new_login_refused = false;  // lost as the new login after a header too large to read failed
};

// "Connection to <host> lost after <listed> of <count> headers: <reply>", for the log and the
// status line.
std::string LostConnectionText(const LostConnection& lost);

// "Error connecting to <host>: <reply>", for the log and the status line.
std::string ConnectFailureText(const std::string& host, const std::string& reply);

// An account a peek passed over because its login or password is not at hand.
struct SkippedAccount {
  int account_number = 0;
  std::string account_name;
  std::string credential_problem;  // the keyring's problem; empty when none is stored
};

// What a peek found, for its closing status line.
struct PeekTotal {
  int count = 0;         // messages listed by the server (of every account visited)
  int size = 0;          // their octets
  int dropped_marks = 0; // marks dropped during the peek because the mailbox changed
  std::vector<AccountFailure> failed_accounts;  // all accounts: those not checked
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

// Where a side-by-side all-accounts peek stands.
struct AccountsAtWork {
  std::vector<std::string> running;  // the accounts being visited now, by name, in account order
  int count = 0;  // the messages of the accounts whose STAT has come so far
  int read = 0;   // the headers of them listed so far
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

  virtual void OnConnecting(const std::string& host) = 0;
  // All accounts: an account skipped because its keyring could not be read (the reason is logged).
  virtual void OnAccountSkipped(const std::string& account_name, const std::string& reason) = 0;
  // An account passed over without a question for want of a stored login or password (after
  // OnAccountSkipped where the keyring is the reason). An owner that shows nothing for it (the
  // window: the total names such accounts) keeps this default.
  virtual void OnAccountWithoutCredentials(const SkippedAccount&) {}
  virtual void OnConnectFailed(const std::string& host, const std::string& reply) = 0;
  virtual void OnServerFailure(const ServerFailure& failure) = 0;
  // Header number of count is asked; total_size is the size of every message listed so far.
  virtual void OnFetchingHeader(int number, int count, int total_size) = 0;
  // The message at that position of the list (from 1) is being deleted on the server.
  virtual void OnDeleting(int list_position) = 0;
  // A peek's deletions are done: count messages go when the session logs out.
  virtual void OnMessagesRemoved(int count) = 0;
  // count marks were dropped because their messages changed.
  virtual void OnMarksDropped(int count) = 0;
  virtual void OnDisconnecting() = 0;
  virtual void OnDisconnected() = 0;
  virtual void OnPeekTotal(const PeekTotal& total) = 0;
  virtual void OnConnectionLost(const LostConnection& lost) = 0;
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
  virtual void OnDeleteRefused(const ServerFailure& failure) = 0;
  // The row's mark was not carried out: its message number names another message now.
  virtual void OnMarkDropped(RowId row_id) = 0;
  // A peek closed its connection (between accounts, after a failed login): idle again.
  virtual void OnLoggedOut() = 0;
  virtual void OnPeekFinished(const PeekSummary& summary) = 0;
  // A side-by-side all-accounts peek: an account started or ended, an account's message count
  // came, or a header of any account was listed. Told as soon as the session's thread is free,
  // once for several changes that came meanwhile; the last one names no account. An owner that
  // shows nothing for it keeps this default.
  virtual void OnAccountsAtWork(const AccountsAtWork&) {}
};

}  // namespace larkspin
