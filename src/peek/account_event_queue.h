#pragma once
// The events of one account of a side-by-side all-accounts peek, kept until the accounts before
// it are done and then handed on in order on the peek's own thread: the owner still hears one
// event at a time, in account order. What depends on the earlier accounts (a row's offset in the
// list, the one clearing of the list) is filled in as they are handed on.
// Where the account stands (connecting, its count, each header, the logout) goes to the peek's
// CAccountsAtWork instead, whose news the peek's thread tells between the handed-on events.
#include <deque>
#include <functional>

#include "peek/accounts_at_work.h"
#include "peek/mailbox_events.h"

namespace larkspin {

// What the accounts handed on before this one have left.
struct EarlierAccounts {
  int count = 0;  // their messages: the offset of this account's rows
  bool list_cleared = false;
};

class CAccountEventQueue : public CMailboxEvents {
 public:
  explicit CAccountEventQueue(CAccountsAtWork& at_work) : at_work_(at_work) {}
  // The account's last event is in.
  void Finish();
  // Hands every event on to events as it comes, and the news of where the accounts stand, until
  // the account has finished.
  void HandOn(CMailboxEvents& events, EarlierAccounts& earlier);

  void OnConnecting(const std::string& host) override;
  void OnAccountSkipped(const std::string& account_name, const std::string& reason) override;
  void OnAccountWithoutCredentials(const SkippedAccount& skipped) override;
  void OnConnectFailed(const std::string& host, const std::string& reply) override;
  void OnServerFailure(const ServerFailure& failure) override;
  void OnFetchingHeader(int number, int count, int total_size) override;
  void OnDeleting(int list_position) override;
  void OnMessagesRemoved(int count) override;
  void OnMarksDropped(int count) override;
  void OnDisconnecting() override;
  void OnDisconnected() override;
  void OnPeekTotal(const PeekTotal& total) override;
  void OnConnectionLost(const LostConnection& lost) override;
  void OnLeaveBusy() override;
  void OnLoginFailed(const LoginFailure& failure) override;
  void OnRowsCleared() override;
  void OnProgressRange(int count) override;
  void OnProgressStep() override;
  void OnHeaderRow(const PeekedRow& row) override;
  void OnDownloadStarted() override;
  void OnDownloadResult(const DownloadOutcome& outcome) override;
  void OnMessageDeleted(RowId row_id) override;
  void OnDeleteRefused(const ServerFailure& failure) override;
  void OnMarkDropped(RowId row_id) override;
  void OnLoggedOut() override;
  void OnPeekFinished(const PeekSummary& summary) override;

 private:
  using Event = std::function<void(CMailboxEvents&, EarlierAccounts&)>;
  void Add(Event event);
  // An event that needs nothing of the earlier accounts.
  void Add(std::function<void(CMailboxEvents&)> event);

  CAccountsAtWork& at_work_;  // its lock guards the two below
  std::deque<Event> events_;
  bool finished_ = false;
};

}  // namespace larkspin
