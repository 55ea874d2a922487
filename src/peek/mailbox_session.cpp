#include "peek/mailbox_session.h"

#include "common/format.h"
#include "config/log.h"
#include "peek/peek_run.h"
#include "platform/pause.h"

namespace larkspin {

void CMailboxSession::RunPeek(const PeekPlan& plan, CMailboxEvents& events) {
  CPeekRun(*this, plan, events, server_count_).Run();
}

int CMailboxSession::DeleteMarked(const std::vector<DeleteOrder>& orders, CMailboxEvents& events) {
  int deleted = 0;
  for (const DeleteOrder& order : orders) {
    events.OnStatus(FormatText("Delete message %d from server", order.list_position + 1));
    if (!client_.Delete(order.message_number)) {
      events.OnDeleteRefused("Error Delete: " + client_.LastReply());
      return -1;
    }
    ++deleted;
    events.OnMessageDeleted(order.row_id);
  }
  return deleted;
}

bool CMailboxSession::LogOut(const std::string& disconnecting_text, int pause_ms, CMailboxEvents& events) {
  events.OnStatus(disconnecting_text);
  PauseFor(pause_ms);
  if (!client_.Disconnect()) {
    const std::string failure = "Error Disconnect: " + client_.LastReply();
    events.OnStatus(failure);
    LogEvent(failure);
    return false;
  }
  events.OnStatus(disconnecting_text + "Ok");
  connected_ = false;
  PauseFor(pause_ms);
  return true;
}

int CMailboxSession::Download(const DownloadOrder& order, CMailboxEvents& events) {
  if (!order.row.local_file.empty()) return kDownloadSkipped;
  DownloadOutcome outcome;
  outcome.row_id = order.row.row_id;
  outcome.record = order.row;
  outcome.automatic = order.automatic;
  DownloadRequest request;
  request.row = &outcome.record;
  request.date_column = order.date_column;
  request.account_number = order.account_number;
  request.skip_check = order.skip_check;
  events.OnDownloadStarted();
  outcome.result = DownloadMessage(client_, request);
  events.OnDownloadResult(outcome);
  return outcome.result.code;
}

}  // namespace larkspin
