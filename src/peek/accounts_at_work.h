#pragma once
// Where a side-by-side all-accounts peek stands: the accounts being visited and the headers of
// all of them. Each account's thread changes it; the peek's own thread takes the news while it
// hands on the accounts' events (account_event_queue.h), so no account's thread waits for the
// owner. The accounts' event queues share its lock and signal: the peek's thread wakes for both.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "peek/mailbox_events.h"

namespace larkspin {

class CAccountsAtWork {
 public:
  // account_names: the display names of accounts 1..n; they outlive this object.
  explicit CAccountsAtWork(const std::vector<std::string>& account_names);

  void Started(int account_number);
  void Ended(int account_number);
  // An account's message count came.
  void Counted(int count);
  void HeaderRead();

 private:
  friend class CAccountEventQueue;
  // With mutex_ held: the state as it stands once after any change, else nothing.
  std::optional<AccountsAtWork> TakeNews();
  void Change(const std::function<void()>& change);

  std::mutex mutex_;
  std::condition_variable changed_;
  const std::vector<std::string>& names_;
  std::vector<bool> running_;  // by account number - 1
  int count_ = 0;
  int read_ = 0;
  bool news_ = false;
};

}  // namespace larkspin
