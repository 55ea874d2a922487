#include "main_window/session_status.h"

#include "common/format.h"
#include "config/log.h"
#include "peek/mailbox_session.h"

namespace larkspin {

namespace {
double Kilobytes(int size) { return static_cast<double>(size) * (1.0 / 1024); }
}  // namespace

void CSessionStatus::OnConnecting(const std::string& host) { OnStatus(FormatText(texts_.connecting.c_str(), host.c_str())); }

void CSessionStatus::OnAccountSkipped(const std::string& account_name, const std::string& reason) {
  OnStatus(FormatText("Account '%s' skipped: %s", account_name.c_str(), reason.c_str()));
}

void CSessionStatus::OnConnectFailed(const std::string& host, const std::string& reply) {
  OnStatus(ConnectFailureText(host, reply));
}

void CSessionStatus::OnServerFailure(const ServerFailure& failure) { OnStatus(ServerFailureText(failure)); }

void CSessionStatus::OnFetchingHeader(int number, int count, int total_size) {
  OnStatus(FormatText(texts_.fetching.c_str(), number, count, Kilobytes(total_size)));
}

void CSessionStatus::OnDeleting(int list_position) {
  OnStatus(FormatText("Delete message %d from server", list_position));
}

void CSessionStatus::OnMessagesRemoved(int count) { LogEvent(FormatText(texts_.removed_from_server.c_str(), count)); }

void CSessionStatus::OnMarksDropped(int count) { OnStatus(DroppedMarksText(count)); }

void CSessionStatus::OnDisconnecting() { OnStatus(texts_.disconnecting); }

void CSessionStatus::OnDisconnected() { OnStatus(texts_.disconnecting + "Ok"); }

// The total, then the marks dropped and the accounts not checked on the same line.
void CSessionStatus::OnPeekTotal(const PeekTotal& total) {
  std::string text = FormatText(texts_.total.c_str(), total.count, Kilobytes(total.size), total.size);
  if (total.dropped_marks > 0) text += "   " + DroppedMarksText(total.dropped_marks);
  if (!total.failed_accounts.empty()) text += "   " + FailedAccountsText(total.failed_accounts);
  OnStatus(text);
}

std::string CSessionStatus::AccountsAtWorkText(const AccountsAtWork& work) const {
  std::string text = texts_.accounts_at_work;
  for (size_t i = 0; i < work.running.size(); ++i) text += (i == 0 ? "" : ", ") + work.running[i];
  return text;
}

void CSessionStatus::OnConnectionLost(const LostConnection& lost) { OnStatus(LostConnectionText(lost)); }

}  // namespace larkspin
