#include "peek/mailbox_session.h"

#include <utility>

#include "common/format.h"
#include "common/quoted_server_text.h"
#include "config/log.h"
#include "peek/peek_run.h"
#include "peek/row_texts.h"
#include "peek/stored_messages.h"
#include "platform/pause.h"

namespace larkspin {

void CMailboxSession::RunPeek(const PeekPlan& plan, CMailboxEvents& events) {
  CPeekRun(*this, plan, events, server_count_).Run();
}

std::string DroppedMarksText(int count) {
  return FormatText("%d mark(s) dropped: the mailbox changed since its messages were listed", count);
}

bool CMailboxSession::StillTheSameMessage(int message_number, const MessageIdentity& identity, int connection) {
  if (connection == client_.ConnectionNumber()) return true;
  std::string unique_id;
  if (!identity.unique_id.empty() && client_.GetUniqueId(message_number, unique_id))
    return unique_id == identity.unique_id;
  uint32_t size = 0;
  CPop3Text header;
  if (!client_.GetMessageSize(message_number, size) || size != identity.size) return false;
  // A header too large to read is not asked for again: it would cost the connection.
  if (!identity.header_read) return true;
  if (!client_.GetMessageHeader(message_number, header)) return false;
  return SameMessage(identity,
                     IdentityOf(MakePeekedMessage(message_number, "", size, std::string(header.HeaderText()), text_encoding)));
}

std::string CMailboxSession::QuotedReply() const { return QuotedServerText(client_.LastReply()); }

int CMailboxSession::ExchangeAccountCount(int account_number, int count) {
  std::lock_guard lock(memory_->memory_mutex_);
  return std::exchange(memory_->account_counts_[account_number], count);
}

bool CMailboxSession::FirstWithoutUidl(int account_number) {
  std::lock_guard lock(memory_->memory_mutex_);
  return memory_->accounts_without_uidl_.insert(account_number).second;
}

void CMailboxSession::ServeAccountsOf(CMailboxSession& owner) {
  memory_ = &owner;
  text_encoding = owner.text_encoding;
  client_.read_timeout_ms = owner.client_.read_timeout_ms;
  client_.max_message_bytes = owner.client_.max_message_bytes;
}

int CMailboxSession::TakeDroppedMarks() { return std::exchange(dropped_marks_, 0); }

namespace {
std::string UnrecordedText(int message_number) {
  return FormatText("message %d not deleted: %s cannot be written", message_number, kDeletedLogFile);
}
}  // namespace

// A message is deleted only once its line is in deleted.log. A dropped row is not removed, so the rows after it stand one place lower than planned. A
// check that fails because the connection is gone drops nothing: the DELE then reports it.
int CMailboxSession::DeleteMarked(const std::vector<DeleteOrder>& orders, CMailboxEvents& events) {
  int deleted = 0;
  int dropped = 0;
  for (const DeleteOrder& order : orders) {
    if (!StillTheSameMessage(order.message_number, order.identity, order.connection) && client_.IsConnected()) {
      ++dropped;
      events.OnMarkDropped(order.row_id);
      continue;
    }
    events.OnDeleting(order.list_position + dropped + 1);
    if (!AppendToDeletedLog(kDeletedLogFile, order.record)) {
      const ServerFailure failure{"Delete", UnrecordedText(order.message_number)};
      events.OnDeleteRefused(failure);
      LogEvent(ServerFailureText(failure));
      deleted = -1;
      break;
    }
    if (!client_.Delete(order.message_number)) {
      events.OnDeleteRefused({"Delete", QuotedReply()});
      deleted = -1;
      break;
    }
    ++deleted;
    events.OnMessageDeleted(order.row_id);
  }
  ReportDroppedMarks(dropped, events);
  SyncConnected();
  return deleted;
}

void CMailboxSession::ReportDroppedMarks(int dropped, CMailboxEvents& events) {
  if (dropped == 0) return;
  dropped_marks_ += dropped;
  events.OnMarksDropped(dropped);
  LogEvent(DroppedMarksText(dropped));
}

void CMailboxSession::SyncConnected() {
  if (!client_.IsConnected()) connected_ = false;
}

bool CMailboxSession::LogOut(int pause_ms, CMailboxEvents& events) {
  events.OnDisconnecting();
  PauseFor(pause_ms);
  if (!client_.Disconnect()) {
    const ServerFailure failure{"Disconnect", QuotedReply()};
    events.OnServerFailure(failure);
    LogEvent(ServerFailureText(failure));
    return false;
  }
  events.OnDisconnected();
  connected_ = false;
  PauseFor(pause_ms);
  return true;
}

bool CMailboxSession::LogIn(const CCurrentAccount& account) {
  client_.tls = account.pop3_tls;
  client_.pipelining = account.pop3_pipelining;
  CHttpClient http;
  const bool logged_in =
      account.pop3_oauth
          ? client_.ConnectWithOAuth(account.pop3_host, AccountSection(account.account_number), account.pop3_port, http)
          : client_.Connect(account.pop3_host, account.login, account.password, account.pop3_port);
  if (!logged_in) return false;
  connected_ = true;
  return true;
}

// The header is asked first: on a lost connection its failure is the one to report.
std::optional<ServerFailure> CMailboxSession::ListMessage(int number, int account_number,
                                                          const std::string& account_name, PeekedRow& row) {
  CPop3Text header;
  uint32_t size = 0;
  if (!client_.GetMessageHeader(number, header) || !client_.GetMessageSize(number, size)) {
    SyncConnected();
    return ServerFailure{"GetMessageHeader", QuotedReply()};
  }
  std::string unique_id;
  if (!client_.GetUniqueId(number, unique_id) && !client_.IsConnected()) {
    SyncConnected();
    return ServerFailure{"GetUniqueId", QuotedReply()};
  }
  row.message = MakePeekedMessage(number, unique_id, size, std::string(header.HeaderText()), text_encoding);
  row.record.message_number = number;
  row.record.file_id = FileIdOf(row.message);
  row.record.sender_address = SenderAddressOf(row.message);
  row.record.account = account_name;
  row.record.account_number = account_number;
  row.record.identity = IdentityOf(row.message);
  row.record.connection = client_.ConnectionNumber();
  row.record.deletion = DeletedMessageOf(row.message, account_name);
  row.record.local_file = CStoredMessages(account_number)
                              .FileOf(row.message.header, row.record.identity, FileIdOf(row.message), text_encoding);
  return std::nullopt;
}

bool CMailboxSession::CountMessages(int& count) {
  int size = 0;
  return client_.IsConnected() && client_.Statistics(count, size);
}

int CMailboxSession::Download(const DownloadOrder& order, CMailboxEvents& events) {
  if (!order.row.local_file.empty()) return kDownloadSkipped;
  if (!StillTheSameMessage(order.row.message_number, order.row.identity, order.row.connection) &&
      client_.IsConnected()) {
    events.OnMarkDropped(order.row.row_id);
    ReportDroppedMarks(1, events);
    SyncConnected();
    return kDownloadSkipped;
  }
  DownloadOutcome outcome;
  outcome.row_id = order.row.row_id;
  outcome.record = order.row;
  outcome.automatic = order.automatic;
  DownloadRequest request;
  request.row = &outcome.record;
  request.account_number = order.account_number;
  request.skip_check = order.skip_check;
  request.text_encoding = text_encoding;
  events.OnDownloadStarted();
  outcome.result = DownloadMessage(client_, request);
  SyncConnected();
  events.OnDownloadResult(outcome);
  return outcome.result.code;
}

}  // namespace larkspin
