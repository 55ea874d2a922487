#include "peek/account_event_queue.h"

#include <optional>
#include <utility>

namespace larkspin {

void CAccountEventQueue::Add(Event event) {
  std::lock_guard lock(at_work_.mutex_);
  events_.push_back(std::move(event));
  at_work_.changed_.notify_one();
}

void CAccountEventQueue::Add(std::function<void(CMailboxEvents&)> event) {
  Add(Event([event = std::move(event)](CMailboxEvents& events, EarlierAccounts&) { event(events); }));
}

void CAccountEventQueue::Finish() {
  std::lock_guard lock(at_work_.mutex_);
  finished_ = true;
  at_work_.changed_.notify_one();
}

// The news first: it is as new as the events taken with it.
void CAccountEventQueue::HandOn(CMailboxEvents& events, EarlierAccounts& earlier) {
  for (;;) {
    std::deque<Event> ready;
    std::optional<AccountsAtWork> news;
    {
      std::unique_lock lock(at_work_.mutex_);
      at_work_.changed_.wait(lock, [this] { return finished_ || !events_.empty() || at_work_.news_; });
      news = at_work_.TakeNews();
      if (finished_ && events_.empty() && !news) return;
      ready.swap(events_);
    }
    if (news) events.OnAccountsAtWork(*news);
    for (const Event& event : ready) event(events, earlier);
  }
}

// Connecting, the header being read, the disconnect and the logout are left to the news, which
// the account's count and each header's step go into.
void CAccountEventQueue::OnConnecting(const std::string&) {}
void CAccountEventQueue::OnAccountSkipped(const std::string& account_name, const std::string& reason) {
  Add([account_name, reason](CMailboxEvents& e) { e.OnAccountSkipped(account_name, reason); });
}
void CAccountEventQueue::OnAccountWithoutCredentials(const SkippedAccount& skipped) {
  Add([skipped](CMailboxEvents& e) { e.OnAccountWithoutCredentials(skipped); });
}
void CAccountEventQueue::OnConnectFailed(const std::string& host, const std::string& reply) {
  Add([host, reply](CMailboxEvents& e) { e.OnConnectFailed(host, reply); });
}
void CAccountEventQueue::OnServerFailure(const ServerFailure& failure) {
  Add([failure](CMailboxEvents& e) { e.OnServerFailure(failure); });
}
void CAccountEventQueue::OnFetchingHeader(int, int, int) {}
void CAccountEventQueue::OnDeleting(int list_position) {
  Add([list_position](CMailboxEvents& e) { e.OnDeleting(list_position); });
}
void CAccountEventQueue::OnMessagesRemoved(int count) {
  Add([count](CMailboxEvents& e) { e.OnMessagesRemoved(count); });
}
void CAccountEventQueue::OnMarksDropped(int count) {
  Add([count](CMailboxEvents& e) { e.OnMarksDropped(count); });
}
void CAccountEventQueue::OnDisconnecting() {}
void CAccountEventQueue::OnDisconnected() {}
void CAccountEventQueue::OnPeekTotal(const PeekTotal& total) {
  Add([total](CMailboxEvents& e) { e.OnPeekTotal(total); });
}
void CAccountEventQueue::OnConnectionLost(const LostConnection& lost) {
  Add([lost](CMailboxEvents& e) { e.OnConnectionLost(lost); });
}
void CAccountEventQueue::OnLeaveBusy() {
  Add([](CMailboxEvents& e) { e.OnLeaveBusy(); });
}
void CAccountEventQueue::OnLoginFailed(const LoginFailure& failure) {
  Add([failure](CMailboxEvents& e) { e.OnLoginFailed(failure); });
}
void CAccountEventQueue::OnRowsCleared() {
  Add(Event([](CMailboxEvents& e, EarlierAccounts& earlier) {
    if (!std::exchange(earlier.list_cleared, true)) e.OnRowsCleared();
  }));
}
void CAccountEventQueue::OnProgressRange(int count) {
  at_work_.Counted(count);
}
void CAccountEventQueue::OnProgressStep() {
  at_work_.HeaderRead();
}
void CAccountEventQueue::OnHeaderRow(const PeekedRow& row) {
  Add(Event([row](CMailboxEvents& e, EarlierAccounts& earlier) {
    PeekedRow placed = row;
    placed.record.row_offset += earlier.count;
    e.OnHeaderRow(placed);
  }));
}
void CAccountEventQueue::OnDownloadStarted() {
  Add([](CMailboxEvents& e) { e.OnDownloadStarted(); });
}
void CAccountEventQueue::OnDownloadResult(const DownloadOutcome& outcome) {
  Add([outcome](CMailboxEvents& e) { e.OnDownloadResult(outcome); });
}
void CAccountEventQueue::OnMessageDeleted(RowId row_id) {
  Add([row_id](CMailboxEvents& e) { e.OnMessageDeleted(row_id); });
}
void CAccountEventQueue::OnDeleteRefused(const ServerFailure& failure) {
  Add([failure](CMailboxEvents& e) { e.OnDeleteRefused(failure); });
}
void CAccountEventQueue::OnMarkDropped(RowId row_id) {
  Add([row_id](CMailboxEvents& e) { e.OnMarkDropped(row_id); });
}
void CAccountEventQueue::OnLoggedOut() {}
void CAccountEventQueue::OnPeekFinished(const PeekSummary& summary) {
  Add([summary](CMailboxEvents& e) { e.OnPeekFinished(summary); });
}

}  // namespace larkspin
