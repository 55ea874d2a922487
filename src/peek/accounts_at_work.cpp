#include "peek/accounts_at_work.h"

#include <utility>

namespace larkspin {

CAccountsAtWork::CAccountsAtWork(const std::vector<std::string>& account_names)
    : names_(account_names), running_(account_names.size(), false) {}

void CAccountsAtWork::Started(int account_number) {
  Change([&] { running_.at(static_cast<size_t>(account_number - 1)) = true; });
}

void CAccountsAtWork::Ended(int account_number) {
  Change([&] { running_.at(static_cast<size_t>(account_number - 1)) = false; });
}

void CAccountsAtWork::Counted(int count) {
  Change([&] { count_ += count; });
}

void CAccountsAtWork::HeaderRead() {
  Change([&] { ++read_; });
}

void CAccountsAtWork::Change(const std::function<void()>& change) {
  std::lock_guard lock(mutex_);
  change();
  news_ = true;
  changed_.notify_one();
}

std::optional<AccountsAtWork> CAccountsAtWork::TakeNews() {
  if (!std::exchange(news_, false)) return std::nullopt;
  AccountsAtWork state;
  for (size_t i = 0; i < running_.size(); ++i)
    if (running_[i]) state.running.push_back(names_[i]);
  state.count = count_;
  state.read = read_;
  return state;
}

}  // namespace larkspin
