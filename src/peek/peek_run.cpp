#include "peek/peek_run.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "common/format.h"
#include "config/log.h"
#include "mailbox/mailbox_layout.h"
#include "peek/account_event_queue.h"
#include "peek/header_too_large.h"
#include "peek/row_texts.h"
#include "peek/new_mail.h"
#include "platform/pause.h"

namespace larkspin {

CPeekRun::CPeekRun(CMailboxSession& session, const PeekPlan& plan, CMailboxEvents& events,
                   std::atomic<int>& server_count)
    : session_(session),
      client_(session.Client()),
      plan_(plan),
      events_(events),
      server_count_(server_count),
      account_(plan.account) {}

void CPeekRun::Run() {
  session_.TakeDroppedMarks();
  const bool marks = !plan_.downloads.empty() || !plan_.deletions.empty() || plan_.download_all;
  if (plan_.all_accounts && plan_.parallel_accounts > 1 && !marks) {
    VisitAccountsSideBySide();
  } else if (plan_.all_accounts) {
    for (int n = 1; n <= static_cast<int>(plan_.account_names.size()); ++n) VisitAccount(n);
  } else {
    VisitAccount(account_.account_number);
  }
  events_.OnPeekTotal({total_count_, total_size_, session_.TakeDroppedMarks(), failures_});
  if (lost_connection_) events_.OnConnectionLost(*lost_connection_);
  PeekSummary summary(account_);
  summary.total_count = total_count_;
  summary.total_size = total_size_;
  summary.all_accounts = plan_.all_accounts;
  summary.new_mail_by = plan_.new_mail_by;
  summary.listings = listings_;
  summary.failed_accounts = failures_;
  events_.OnPeekFinished(summary);
}

void CPeekRun::VisitAccountsSideBySide() {
  const int accounts = static_cast<int>(plan_.account_names.size());
  CAccountsAtWork at_work(plan_.account_names);
  std::deque<CAccountEventQueue> queues;
  std::vector<std::unique_ptr<CMailboxSession>> sessions;
  std::vector<std::unique_ptr<std::atomic<int>>> server_counts;
  std::vector<std::unique_ptr<CPeekRun>> runs;
  for (int n = 1; n <= accounts; ++n) {
    CMailboxSession* session = &session_;
    if (n < accounts) {
      sessions.push_back(std::make_unique<CMailboxSession>());
      sessions.back()->ServeAccountsOf(session_);
      session = sessions.back().get();
    }
    queues.emplace_back(at_work);
    server_counts.push_back(std::make_unique<std::atomic<int>>(0));
    runs.push_back(std::make_unique<CPeekRun>(*session, plan_, queues.back(), *server_counts.back()));
  }
  std::atomic<int> next{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < std::min(plan_.parallel_accounts, accounts); ++w)
    workers.emplace_back([&] {
      for (int i; (i = next++) < accounts;) {
        at_work.Started(i + 1);
        runs[i]->VisitAccount(i + 1);
        at_work.Ended(i + 1);
        queues[i].Finish();
      }
    });
  EarlierAccounts earlier;
  for (int i = 0; i < accounts; ++i) {
    queues[i].HandOn(events_, earlier);
    TakeAccountResults(*runs[i]);
    if (runs[i]->listings_.size() > 0) server_count_ = server_counts[i]->load();
    earlier.count = total_count_;
  }
  for (std::thread& worker : workers) worker.join();
}

void CPeekRun::TakeAccountResults(const CPeekRun& run) {
  total_count_ += run.total_count_;
  total_size_ += run.total_size_;
  listings_.insert(listings_.end(), run.listings_.begin(), run.listings_.end());
  failures_.insert(failures_.end(), run.failures_.begin(), run.failures_.end());
  if (run.lost_connection_) lost_connection_ = run.lost_connection_;
}

// An all-accounts peek skips an account without a stored login or password (or whose keyring
// cannot be read); a one-account peek asks for them and goes on with what it got, unless its plan
// skips such an account too.
void CPeekRun::VisitAccount(int account_number) {
  const std::string section = AccountSection(account_number);
  if (plan_.all_accounts) {
    account_.account_number = account_number;
    account_.ClearCredentials();
  }
  const size_t index = static_cast<size_t>(account_number - 1);
  account_name_ = index < plan_.account_names.size() ? plan_.account_names[index] : "";
  const bool skip = plan_.all_accounts || plan_.skip_without_credentials;
  // Accounts visited side by side read config.ini and the keyring one at a time.
  static std::mutex credentials_mutex;
  std::unique_lock credentials_lock(credentials_mutex);
  if (account_.EnsureCredentials(section, skip ? PeekScope::kAllAccounts : PeekScope::kOneAccount) != 1 && skip) {
    ReportKeyringSkip();
    events_.OnAccountWithoutCredentials({account_number, account_name_, account_.credential_problem});
    NoteFailedAccount(MissingCredentialReason(account_));
    return;
  }
  account_.LoadCurrentAccount(section);
  credentials_lock.unlock();
  events_.OnConnecting(account_.pop3_host);
  if (!LogIn()) {
    NoteFailedAccount(LoginFailureReason(session_.QuotedReply()));
    ReportFailedLogin();
    return;
  }
  DownloadRows(plan_.downloads);
  if (!CarryOutDeletions()) return;
  ClearListOnce();
  FetchHeaders();
}

void CPeekRun::NoteFailedAccount(const std::string& reason) {
  if (plan_.all_accounts) failures_.push_back({account_name_, reason});
}

// The keyring's reason (already in the log) goes to the status line of a skipped account.
void CPeekRun::ReportKeyringSkip() {
  if (account_.credential_problem.empty()) return;
  events_.OnAccountSkipped(account_name_, account_.credential_problem);
}

bool CPeekRun::LogIn() { return session_.LogIn(account_); }

// The status line and the log say why the login failed, and the window leaves its busy state.
void CPeekRun::ReportConnectFailure() {
  events_.OnConnectFailed(account_.pop3_host, session_.QuotedReply());
  events_.OnLeaveBusy();
  LogEvent(ConnectFailureText(account_.pop3_host, session_.QuotedReply()));
}

void CPeekRun::ReportFailedLogin() {
  if (!plan_.all_accounts) events_.OnRowsCleared();
  LogOutBetweenAccounts();
  ReportConnectFailure();
  events_.OnLoginFailed({account_.pop3_host, account_.login, session_.QuotedReply(), !plan_.all_accounts});
}

// Closes a connection that still stands and returns the owner to its idle state.
void CPeekRun::LogOutBetweenAccounts() {
  if (session_.Connected()) session_.LogOut(plan_.waits.disconnect_step, events_);
  events_.OnLoggedOut();
}

// Pipelined, the messages not stored yet are asked as one run; a mark whose identity must be
// checked on the server ends the run there, and the rest are asked one by one. A download-all
// download is made only while the connection stands.
void CPeekRun::DownloadRows(const std::vector<DownloadOrder>& orders) {
  if (plan_.pipeline) {
    std::vector<int> numbers;
    for (const DownloadOrder& order : orders)
      if (order.row.local_file.empty()) numbers.push_back(order.row.message_number);
    client_.PlanRun(CPop3Client::RunKind::kRetrieve, std::move(numbers));
  }
  for (DownloadOrder order : orders) {
    if (order.automatic && !client_.IsConnected()) break;
    order.account_number = account_.account_number;
    session_.Download(order, events_);
  }
}

// False when the new login after the deletions failed. The server removes deleted messages
// only at QUIT, so the peek logs out and in again before it lists what is left.
bool CPeekRun::CarryOutDeletions() {
  const int deleted = session_.DeleteMarked(plan_.deletions, events_);
  if (deleted <= 0) return true;
  events_.OnMessagesRemoved(deleted);
  client_.Disconnect();
  session_.SetConnected(false);
  PauseFor(plan_.waits.before_new_login);
  if (LogIn()) return true;
  ReportConnectFailure();
  return false;
}

void CPeekRun::ClearListOnce() {
  if (list_cleared_) return;
  list_cleared_ = true;
  events_.OnRowsCleared();
}

void CPeekRun::FetchHeaders() {
  int count = 0;
  int size = 0;
  if (!client_.Statistics(count, size)) {
    const ServerFailure failure{"Statistics", session_.QuotedReply()};
    NoteFailedAccount(LoginFailureReason(failure.reply));
    events_.OnServerFailure(failure);
    LogEvent(ServerFailureText(failure));
    return;
  }
  server_count_ = count;
  const int offset = plan_.all_accounts ? total_count_ : 0;
  events_.OnProgressRange(count);
  if (plan_.all_accounts) {
    total_count_ += count;
    total_size_ += size;
  } else {
    total_count_ = count;
    total_size_ = size;
  }
  const bool listed = FetchListings();
  if (!listed) ReportLostConnection(0, count);
  BeginListing();
  if (listed && ListMessages(count, offset)) DownloadTakenRows(count);
  taken_rows_.clear();  // a list cut short downloads nothing more
  EndListing(count);
  if (plan_.all_accounts) {
    PauseFor(plan_.waits.around_disconnect);
    LogOutBetweenAccounts();
    PauseFor(plan_.waits.around_disconnect);
  }
}

bool CPeekRun::FetchListings() {
  return !plan_.pipeline || client_.FetchListings(plan_.ask_unique_ids || plan_.new_mail_by == NewMailRule::kUidl);
}

bool CPeekRun::ListMessages(int count, int offset) {
  PlanHeaders(1, count);
  for (int i = 1; i <= count; ++i) {
    if (!client_.IsConnected() && !(LogInAgain() && PlanHeaders(i, count))) {
      ReportLostConnection(i - 1, count, true);
      return false;
    }
    if (!FetchHeader(i, count, offset)) {
      ReportLostConnection(i - 1, count);
      return false;
    }
  }
  return true;
}

// On the connection open once every header is read: a new login when a header too large to read
// closed the last one. A connection lost in the downloads, or a refused new login, is reported as
// lost after the whole list.
void CPeekRun::DownloadTakenRows(int count) {
  if (taken_rows_.empty()) return;
  const bool new_login_refused = !client_.IsConnected() && !LogInAgain();
  if (!new_login_refused) DownloadRows(taken_rows_);
  if (!client_.IsConnected()) ReportLostConnection(count, count, new_login_refused);
}

bool CPeekRun::PlanHeaders(int first, int count) {
  if (!plan_.pipeline) return true;
  std::vector<int> numbers;
  for (int n = first; n <= count; ++n) numbers.push_back(n);
  client_.PlanRun(CPop3Client::RunKind::kHeaders, std::move(numbers));
  return true;
}

// A message the server refuses is left out; false once the connection is lost. A header too
// large to read gets a row that says so and leaves the connection closed for the next message.
// The size and UIDL id are asked before the header, since such a header costs the connection.
bool CPeekRun::FetchHeader(int number, int count, int offset) {
  PauseFor(plan_.waits.before_header);
  events_.OnFetchingHeader(number, count, total_size_);
  uint32_t size = 0;
  if (!client_.GetMessageSize(number, size)) {
    events_.OnServerFailure({"GetMessageSize", session_.QuotedReply()});
    return client_.IsConnected();
  }
  std::string unique_id;
  if (plan_.ask_unique_ids && !client_.GetUniqueId(number, unique_id) && !client_.IsConnected()) return false;
  CPop3Text header;
  if (client_.GetMessageHeader(number, header)) {
    PeekedRow row;
    row.message = MakePeekedMessage(number, unique_id, size, std::string(header.HeaderText()), session_.text_encoding);
    row.record.local_file =
        stored_->FileOf(row.message.header, IdentityOf(row.message), FileIdOf(row.message), session_.text_encoding);
    ListRow(row, offset);
    return true;
  }
  if (client_.LastFailure() != CPop3Client::Failure::kReplyTooLong) {
    events_.OnServerFailure({"GetMessageHeader", session_.QuotedReply()});
    return client_.IsConnected();
  }
  session_.SetConnected(false);
  LogEvent(FormatText("Message %d of %s: %s", number, account_.pop3_host.c_str(), session_.QuotedReply().c_str()));
  PeekedRow row;
  row.message = HeaderTooLargeMessage(number, unique_id, size, session_.text_encoding);
  row.header_failure = session_.QuotedReply();
  ListRow(row, offset);
  return true;
}

void CPeekRun::ListRow(PeekedRow& row, int offset) {
  const PeekedMessage& message = row.message;
  row.record.file_id = FileIdOf(message);
  row.record.message_number = message.number;
  row.record.sender_address = SenderAddressOf(message);
  row.record.account = account_name_;
  row.record.account_number = account_.account_number;
  row.record.row_offset = offset;
  row.record.identity = IdentityOf(message);
  row.record.connection = client_.ConnectionNumber();
  row.record.deletion = DeletedMessageOf(message, account_name_);
  row.large = message.size > static_cast<uint32_t>(plan_.mail_threshold_kb) * 1024u;
  events_.OnHeaderRow(row);
  NoteListedRow(row.record.row_id, message.number, message.unique_id);
  if (!row.large && plan_.download_all && client_.IsConnected()) DownloadAutomatically(row);
  events_.OnProgressStep();
}

// After a header too large to read: the next message is asked on a new login, whose listings a
// pipelining plan asks in one go again, so that the runs after it are not ended by a LIST or UIDL.
// A connection lost in them shows at the next command.
bool CPeekRun::LogInAgain() {
  PauseFor(plan_.waits.before_new_login);
  if (!LogIn()) return false;
  FetchListings();
  return true;
}

// The rows listed so far stay; the rest of this account's messages are not asked for.
void CPeekRun::ReportLostConnection(int listed, int count, bool new_login_refused) {
  session_.SetConnected(false);
  lost_connection_ = LostConnection{account_.pop3_host, listed, count, session_.QuotedReply(), new_login_refused};
  LogEvent(LostConnectionText(*lost_connection_));
}

// Under NewMailBy=Uidl the server's UIDL list is asked before the first header, so a server
// without UIDL is known before any row is listed.
void CPeekRun::BeginListing() {
  listings_.push_back({});
  listings_.back().account_number = account_.account_number;
  stored_.emplace(account_.account_number);
  seen_ids_.reset();
  server_ids_.clear();
  if (plan_.new_mail_by != NewMailRule::kUidl) return;
  if (client_.GetUniqueIds(server_ids_)) {
    seen_ids_.emplace(SeenIdsFilePath(account_.account_number));
    if (!seen_ids_->Readable())
      LogEvent("Error: could not read " + seen_ids_->Path() + "; no message counts as new");
  } else if (client_.IsConnected() && session_.FirstWithoutUidl(account_.account_number)) {
    LogEvent(FormatText("%s does not support UIDL; new mail of account %s is counted", account_.pop3_host.c_str(),
                        account_name_.c_str()));
  }
}

// Called once the owner has shown the row: only rows really listed are remembered as seen.
void CPeekRun::NoteListedRow(RowId row_id, int message_number, const std::string& unique_id) {
  AccountListing& listing = listings_.back();
  listing.rows.push_back({row_id, message_number});
  if (seen_ids_ && seen_ids_->NoteListed(unique_id)) listing.new_rows.push_back(row_id);
}

void CPeekRun::EndListing(int count) {
  AccountListing& listing = listings_.back();
  listing.by_seen_ids = seen_ids_.has_value();
  if (!seen_ids_) {
    const int previous_count = session_.ExchangeAccountCount(account_.account_number, count);
    listing.new_rows = RowsNewByCount(listing.rows, count, previous_count);
  } else if (seen_ids_->Readable() && !seen_ids_->Save(server_ids_)) {
    LogEvent("Error: could not write " + seen_ids_->Path());
  }
}

// Taken for later, no download comes between two headers of a pipelined run.
void CPeekRun::DownloadAutomatically(const PeekedRow& row) {
  DownloadOrder order;
  order.row = row.record;
  order.account_number = account_.account_number;
  order.skip_check = true;
  order.automatic = true;
  if (plan_.pipeline && client_.Pipelines()) taken_rows_.push_back(std::move(order));
  else session_.Download(order, events_);
}

}  // namespace larkspin
