#pragma once
// A mailbox session: the POP3 client and its connection for as long as the connection stays
// open, through a peek, the downloads of a double-click and the Disconnect command's deletions.
// Its owner calls it on one thread at a time and hears from it through CMailboxEvents
// (mailbox_events.h, which also gives the order of the events).
#include <atomic>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "config/current_account.h"
#include "peek/mailbox_events.h"
#include "peek/message_identity.h"
#include "pop3/pop3_client.h"

namespace larkspin {

// The fixed waits of a peek and of the disconnect command, in milliseconds. Tests shorten them.
struct PeekWaits {
  int before_header = 10;       // before each TOP request
  int before_new_login = 150;   // between the logout after deletions and the new login
  int around_disconnect = 50;   // before and after each disconnect of an all-accounts peek
  int disconnect_step = 20;     // before and after QUIT in the disconnect command
};

// A row marked for deletion: the message it stands for, its position in the list at the
// moment it is deleted (earlier deletions have removed the rows above it), and its line of
// deleted.log, whose rule names the rule that marked it (empty: marked by hand).
struct DeleteOrder {
  RowId row_id = 0;
  int message_number = 0;
  int list_position = 0;
  MessageIdentity identity;  // the message as listed
  int connection = 0;        // the connection that listed it
  DeletedMessage record;
};

// A row to download.
struct DownloadOrder {
  HeaderRow row;            // a copy of the row's record
  int account_number = 0;   // the mailbox folder the message goes to
  bool skip_check = false;  // the caller knows the session is connected
  bool automatic = false;   // a download-all download
};

// What one peek does: a snapshot taken on the UI thread when the peek starts.
struct PeekPlan {
  explicit PeekPlan(const CCurrentAccount& current) : account(current) {}
  CCurrentAccount account;                 // the selected account with the credentials at hand
  bool all_accounts = false;               // visit every account instead of the selected one
  std::vector<std::string> account_names;  // display names of accounts 1..n
  std::vector<DownloadOrder> downloads;    // rows marked for download, in list order
  std::vector<DeleteOrder> deletions;      // rows marked for deletion, in list order
  bool download_all = false;               // download every new message up to the threshold
  NewMailRule new_mail_by = NewMailRule::kCount;  // Uidl: the peek keeps each account's seen ids
  int mail_threshold_kb = 100;
  PeekWaits waits;
  // Whether each row asks the server for its message's UIDL id; an owner that neither marks rows
  // nor keeps seen ids (the command line) saves the UIDL command.
  bool ask_unique_ids = true;
  // All accounts: how many accounts are visited at once, each on a connection of its own; a plan
  // with marks or download-all visits them one after the other.
  int parallel_accounts = 1;
  // Whether the peek's commands go out ahead of their replies where the account and server allow
  // it (the command line, the window with FastPeek=1).
  bool pipeline = false;
  // Whether a one-account peek, too, skips an account without a stored login or password instead
  // of asking for them (an owner that must never ask: the command line).
  bool skip_without_credentials = false;
};

class CMailboxSession {
 public:
  // One peek, on the calling thread; ends with OnPeekFinished.
  void RunPeek(const PeekPlan& plan, CMailboxEvents& events);
  // DELE for each order in turn, each written to deleted.log of the working folder before its
  // DELE: the number deleted, or -1 once the server refused one or the record could not be
  // written (that message and the rest stay on the server).
  int DeleteMarked(const std::vector<DeleteOrder>& orders, CMailboxEvents& events);
  // Logs into the account with its encryption; the session counts as connected once it succeeded.
  bool LogIn(const CCurrentAccount& account);
  // The row of message number outside a peek, as a peek lists it (its header, LIST size and UIDL
  // id, and its stored file among account_number's): nullopt when it was fetched, else the
  // command that failed ("GetMessageHeader", also for a refused size; "GetUniqueId" only once the
  // connection is lost, since a server without UIDL lists rows without ids).
  std::optional<ServerFailure> ListMessage(int number, int account_number, const std::string& account_name,
                                           PeekedRow& row);
  // The messages on the server now (a fresh STAT); false when not connected or refused.
  bool CountMessages(int& count);
  // QUIT, reported with its result; pause_ms before and after it.
  bool LogOut(int pause_ms, CMailboxEvents& events);
  // RETR of the order's row into its account's mailbox folder; kDownloadSkipped without a
  // word for a row that is stored already.
  int Download(const DownloadOrder& order, CMailboxEvents& events);

  // Whether message_number still names the message listed as identity on connection: always
  // on that same connection, otherwise checked on the server (false also when the check itself
  // failed).
  bool StillTheSameMessage(int message_number, const MessageIdentity& identity, int connection);
  // The marks dropped since the count was last taken; taking it starts a new count.
  int TakeDroppedMarks();

  bool Connected() const { return connected_; }
  void SetConnected(bool connected) { connected_ = connected; }
  // Messages on the server at the last peek.
  int ServerCount() const { return server_count_; }
  CPop3Client& Client() { return client_; }
  // [System] Charsets: how the texts of peeked rows and stored messages are held. Set before the
  // first peek.
  TextEncoding text_encoding = TextEncoding::kClassic;
  // The client's last reply as it may be shown: short, on one line.
  std::string QuotedReply() const;

  // For an account whose new mail is counted (NewMailBy=Count, or Uidl on a server without
  // UIDL): its count at its previous peek in this session (0 for none); count is kept for the next.
  int ExchangeAccountCount(int account_number, int count);
  // True the first time in this session that the account's server is found without UIDL.
  bool FirstWithoutUidl(int account_number);
  // A session that visits one account of a side-by-side peek: the client's settings of owner, and
  // owner's memory of each account's count and UIDL support.
  void ServeAccountsOf(CMailboxSession& owner);

 private:
  void ReportDroppedMarks(int dropped, CMailboxEvents& events);
  // The session counts as disconnected once its client has lost the connection.
  void SyncConnected();

  CPop3Client client_;
  std::atomic<bool> connected_{false};
  std::atomic<int> server_count_{0};
  int dropped_marks_ = 0;
  CMailboxSession* memory_ = this;  // whose account counts and UIDL support are kept
  std::mutex memory_mutex_;
  std::map<int, int> account_counts_;
  std::set<int> accounts_without_uidl_;
};

// The status and log text for marks dropped because the mailbox changed.
std::string DroppedMarksText(int count);

}  // namespace larkspin
