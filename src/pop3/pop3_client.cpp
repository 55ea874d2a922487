#include "pop3/pop3_client.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <utility>

#include "config/log.h"
#include "common/decimal.h"
#include "common/format.h"
#include "common/string_tools.h"
#include "mime/sasl_oauth.h"
#include "platform/last_error.h"

namespace larkspin {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kMultiLineEnd = "\r\n.\r\n";
constexpr size_t kGrowth = 4096;
constexpr size_t kFirstLineSize = 256;
constexpr size_t kFirstHeaderSize = 8192;
// Room for the status line beside a message's size from LIST: the first buffer of a TOP or RETR
// needs no more, and every byte of it is made ready before the first receive.
constexpr size_t kStatusLineRoom = 100;
// Never reserve more size entries up front than this, whatever count a server announces.
constexpr size_t kMaxReservedSizes = 1 << 20;
// The longest AUTH command that may carry its initial response (RFC 5034), its line end included.
constexpr size_t kMaxAuthCommand = 255;

std::string JoinedWords(const std::vector<std::string>& words) {
  std::string joined;
  for (const std::string& word : words) joined += (joined.empty() ? "" : " ") + word;
  return joined;
}

bool IsFieldSeparator(char c) { return c == ' ' || c == '\t'; }

bool BeginsWithOk(std::string_view reply, bool ignore_case) {
  if (reply.size() < 3) return false;
  return ignore_case ? EqualsIgnoringCase(reply.substr(0, 3), "+OK") : reply.substr(0, 3) == "+OK";
}

bool BeginsWithErr(std::string_view reply) { return reply.size() >= 4 && EqualsIgnoringCase(reply.substr(0, 4), "-ERR"); }

// The text after the status line (after its first "\n").
std::string_view AfterStatusLine(std::string_view reply) {
  const size_t newline = reply.find('\n');
  return newline == std::string_view::npos ? std::string_view() : reply.substr(newline + 1);
}

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

// Where the last line of text begins, looking for a line break only in text[from...]; the
// earlier line_start when there is none.
size_t StartOfLastLine(std::string_view text, size_t from, size_t line_start) {
  const void* last_break = memrchr(text.data() + from, '\n', text.size() - from);
  return last_break ? static_cast<size_t>(static_cast<const char*>(last_break) - text.data()) + 1 : line_start;
}

// Removes the dot the server put before each line that begins with "." (RFC 1939 byte-stuffing);
// the text begins at the start of a line. One pass in place: every byte moves at most once.
void RemoveDotStuffing(std::string& text) {
  constexpr std::string_view kStuffedLineStart = "\r\n.";
  size_t read = text.starts_with('.') ? 1 : 0;
  size_t write = 0;
  for (;;) {
    const size_t stuffed = text.find(kStuffedLineStart, read);
    const size_t chunk_end = stuffed == std::string::npos ? text.size() : stuffed + kLineEnd.size();
    if (write != read) std::memmove(text.data() + write, text.data() + read, chunk_end - read);
    write += chunk_end - read;
    if (stuffed == std::string::npos) break;
    read = chunk_end + 1;
  }
  text.resize(write);
}

int NewConnectionNumber() {
  static std::atomic<int> last{0};
  return ++last;
}

std::string CommandOf(CPop3Client::RunKind kind, int n) {
  return FormatText(kind == CPop3Client::RunKind::kHeaders ? "TOP %d 0\r\n" : "RETR %d\r\n", n);
}

std::string TooLongText(size_t limit) {
  return FormatText("-ERR The server's reply is too long (over %zu bytes); connection closed.", limit);
}

// The "n uid" lines of a UIDL answer by message number; lines without both fields are skipped.
std::map<int, std::string> ParseUniqueIds(std::string_view listing) {
  std::map<int, std::string> ids;
  while (!listing.empty()) {
    const size_t line_end = std::min(listing.find(kLineEnd), listing.size());
    const std::string_view line = listing.substr(0, line_end);
    listing.remove_prefix(std::min(line_end + kLineEnd.size(), listing.size()));
    const size_t separator = std::find_if(line.begin(), line.end(), IsFieldSeparator) - line.begin();
    const size_t id_start = line.find_first_not_of(" \t", separator);
    if (separator == 0 || id_start == std::string_view::npos) continue;
    const std::string_view id = line.substr(id_start, line.find_first_of(" \t", id_start) - id_start);
    ids.emplace(ParseDecimalInt(line.substr(0, separator)), id);
  }
  return ids;
}
}  // namespace

CPop3Client::~CPop3Client() {
  if (connected_) Disconnect();
  socket_.Close();
}

void CPop3Client::FailWith(std::string text, Failure kind) {
  last_response_ = std::move(text);
  last_failure_ = kind;
}

void CPop3Client::ForgetConnection() {
  connected_ = false;
  sizes_known_ = false;
  statistics_known_ = false;
  message_count_ = 0;
  message_sizes_.clear();
  unique_ids_ = UniqueIds::kUnasked;
  unique_id_of_.clear();
  capabilities_ = {};
  run_.reset();
  unread_replies_ = 0;
  carried_.clear();
  carried_from_ = 0;
}

bool CPop3Client::Abandon(std::string text, Failure kind) {
  socket_.Close();
  ForgetConnection();
  FailWith(std::move(text), kind);
  return false;
}

bool CPop3Client::TakeCarried(CReplyBuffer& buffer) {
  last_receive_carried_ = carried_from_ < carried_.size();
  if (!last_receive_carried_) return false;
  const std::span<char> space = buffer.ReceiveSpace();
  const size_t count = std::min(space.size(), carried_.size() - carried_from_);
  std::memcpy(space.data(), carried_.data() + carried_from_, count);
  buffer.Commit(count);
  carried_from_ += count;
  return true;
}

// The rest lies within the last piece received, so when that piece came from carried_ its bytes
// are still there just before carried_from_.
void CPop3Client::CarryRest(CReplyBuffer& buffer, size_t end) {
  const std::string_view rest = buffer.View().substr(end);
  if (last_receive_carried_ && rest.size() <= carried_from_) {
    carried_from_ -= rest.size();
  } else {
    carried_ = std::string(rest) + carried_.substr(carried_from_);
    carried_from_ = 0;
  }
  buffer.DropSuffix(rest.size());
}

bool CPop3Client::ReceiveMore(CReplyBuffer& buffer) {
  if (buffer.Room() == 0 && !buffer.Grow(kGrowth)) return Abandon(TooLongText(buffer.Limit()));
  if (TakeCarried(buffer)) return true;
  bool readable = false;
  if (!socket_.WaitReadable(read_timeout_ms, readable))
    return Abandon(FormatText("-ERR Waiting for the server failed: %s; connection closed.", std::strerror(errno)));
  if (!readable)
    return Abandon(FormatText("-ERR No reply from the server within %g s; connection closed.", read_timeout_ms / 1000.0));
  const std::span<char> space = buffer.ReceiveSpace();
  const ssize_t received = socket_.Receive(space.data(), space.size());
  if (received == 0) return Abandon("-ERR The connection was closed by the server.");
  if (received < 0)
    return Abandon(FormatText("-ERR Receiving from the server failed: %s; connection closed.", std::strerror(errno)));
  buffer.Commit(static_cast<size_t>(received));
  return true;
}

bool CPop3Client::ReceiveThrough(CReplyBuffer& buffer, std::string_view marker, size_t from, size_t limit,
                                 size_t& end) {
  size_t line_start = from;
  for (size_t scan = from;;) {
    const size_t found = buffer.View().find(marker, scan);
    if (found != std::string_view::npos) {
      end = found + marker.size();
      return true;
    }
    // Only the reply's own limit makes it too long; a status line over its limit is no reply.
    if (buffer.Size() >= limit)
      return Abandon(TooLongText(limit), limit == buffer.Limit() ? Failure::kReplyTooLong : Failure::kOther);
    // A marker split across receives starts at most marker.size() - 1 bytes before the end.
    scan = std::max(from, buffer.Size() - std::min(buffer.Size(), marker.size() - 1));
    const size_t received_before = buffer.Size();
    if (!ReceiveMore(buffer)) return false;
    line_start = StartOfLastLine(buffer.View(), received_before, line_start);
    if (buffer.Size() - line_start > kMaxReplyLine)
      return Abandon(FormatText("-ERR A line of the server's reply is too long (over %zu bytes); connection closed.",
                                kMaxReplyLine));
  }
}

bool CPop3Client::ReadReply(CReplyBuffer& buffer, ReplyShape shape) {
  if (unread_replies_ > 0) --unread_replies_;
  size_t status_end = 0;
  if (!ReceiveThrough(buffer, kLineEnd, 0, kMaxStatusLine, status_end)) return false;
  const std::string_view status = buffer.View().substr(0, status_end - kLineEnd.size());
  const bool negative = BeginsWithErr(status);
  const bool continuation = shape == ReplyShape::kSaslStep && (status == "+" || status.substr(0, 2) == "+ ");
  if (!negative && !continuation && !BeginsWithOk(status, true))
    return Abandon("-ERR The server's answer is not a POP3 reply; connection closed.");
  size_t end = status_end;
  // A negative answer is one line whatever the command; a positive one to a multi-line command
  // runs to the "." line, whose search starts at the status line's own line end.
  if (!negative && shape == ReplyShape::kMultiLine &&
      !ReceiveThrough(buffer, kMultiLineEnd, status_end - kLineEnd.size(), buffer.Limit(), end))
    return false;
  if (end != buffer.Size()) {
    if (unread_replies_ == 0) return Abandon("-ERR The server sent more than one reply; connection closed.");
    CarryRest(buffer, end);
  }
  if (negative) {
    SetLastErrorCode(kErrorNegativeReply);
    FailWith(std::string(status));
    return false;
  }
  buffer.DropSuffix(end == status_end ? kLineEnd.size() : kMultiLineEnd.size());
  return true;
}

bool CPop3Client::ReadLineReply() {
  CReplyBuffer buffer(kFirstLineSize, kMaxStatusLine);
  return ReadReply(buffer, ReplyShape::kLine);
}

bool CPop3Client::ReadSaslStep(bool& continuation, std::string& challenge) {
  CReplyBuffer buffer(kFirstLineSize, kMaxStatusLine);
  if (!ReadReply(buffer, ReplyShape::kSaslStep)) return false;
  const std::string_view line = buffer.View();
  continuation = line == "+" || line.substr(0, 2) == "+ ";
  challenge = continuation ? std::string(line.substr(std::min<size_t>(2, line.size()))) : std::string();
  if (!continuation) last_response_ = std::string(line);
  return true;
}

bool CPop3Client::ReadStatReply(int& count, int& size) {
  CReplyBuffer buffer(kFirstLineSize, kMaxStatusLine);
  if (!ReadReply(buffer, ReplyShape::kLine)) return false;
  const std::string_view reply = buffer.View();
  const size_t first = std::find_if(reply.begin(), reply.end(), IsFieldSeparator) - reply.begin();
  const size_t second = first < reply.size()
                            ? std::find_if(reply.begin() + first + 1, reply.end(), IsFieldSeparator) - reply.begin()
                            : reply.size();
  if (!BeginsWithOk(reply, false) || second >= reply.size()) {
    FailWith(std::string(reply));
    return false;
  }
  count = static_cast<int>(std::min<uint32_t>(ParseDecimalU32(reply.substr(first + 1)), INT32_MAX));
  size = static_cast<int>(std::min<uint32_t>(ParseDecimalU32(reply.substr(second + 1)), INT32_MAX));
  message_count_ = count;
  return true;
}

size_t CPop3Client::ListingLimit() const {
  const size_t count = static_cast<size_t>(std::max(message_count_, 0));
  return std::min(CReplyBuffer::kMaxReplyBytes, count * kListingBytesPerMessage + kMaxStatusLine);
}

bool CPop3Client::ReadListing(size_t limit, std::string& listing) {
  CReplyBuffer buffer(std::min(limit, kFirstHeaderSize), limit);
  if (!ReadReply(buffer, ReplyShape::kMultiLine)) return false;
  listing = AfterStatusLine(buffer.View());
  RemoveDotStuffing(listing);
  return true;
}

bool CPop3Client::ReadSizeList() {
  std::string listing;
  if (!ReadListing(ListingLimit(), listing)) return false;
  message_sizes_.clear();
  message_sizes_.reserve(std::min(static_cast<size_t>(std::max(message_count_, 0)), kMaxReservedSizes));
  for (size_t i = 0; i < listing.size() && listing[i] != '.'; ++i) {
    if (IsFieldSeparator(listing[i])) message_sizes_.push_back(ParseDecimalU32(std::string_view(listing).substr(i + 1)));
  }
  return true;
}

bool CPop3Client::ReadTextReply(CPop3Text& message, size_t first_size, size_t limit) {
  CReplyBuffer buffer(first_size, limit);
  if (!ReadReply(buffer, ReplyShape::kMultiLine)) return false;
  const size_t newline = buffer.View().find('\n');
  std::string text = buffer.TakeFrom(newline == std::string_view::npos ? buffer.Size() : newline + 1);
  RemoveDotStuffing(text);
  message.SetText(std::move(text));
  return true;
}

bool CPop3Client::SendCommand(const std::string& command) {
  if (run_ && !EndRun()) return false;
  return SendAhead(command, 1);
}

bool CPop3Client::SendAhead(const std::string& commands, size_t count) {
  if (!connected_) {
    FailWith("-ERR Not connected to the server.");
    return false;
  }
  if (!socket_.Send(commands.data(), commands.size()))
    return Abandon(FormatText("-ERR Sending to the server failed: %s; connection closed.", std::strerror(errno)));
  unread_replies_ += count;
  return true;
}

bool CPop3Client::Open(const std::string& host, int port) {
  if (tls.mode == TlsMode::kUnknown) {
    FailWith("-ERR The account's POP3Security setting is not one of None, SSL or STARTTLS.");
    return false;
  }
  if (!socket_.Create()) {
    FailWith(FormatText("-ERR Cannot create a socket: %s", std::strerror(errno)));
    return false;
  }
  if (!socket_.Connect(host, port) || (tls.mode == TlsMode::kImplicit && !StartTls(host, port))) {
    FailWith(socket_.ConnectError());
    socket_.Close();
    return false;
  }
  connected_ = true;
  unread_replies_ = 1;  // the greeting
  connection_number_ = NewConnectionNumber();
  return ReadLineReply() && AskCapabilities() && UpgradeToTlsIfConfigured(host, port);
}

bool CPop3Client::EndFailedLogin() {
  const std::string login_error = last_response_;
  const Failure login_failure = last_failure_;
  Disconnect();
  FailWith(login_error, login_failure);
  return false;
}

bool CPop3Client::Connect(const std::string& host, const std::string& user, const std::string& password, int port) {
  ForgetConnection();
  if (HasLineBreak(user) || HasLineBreak(password)) {
    FailWith("-ERR The login name or password contains a line break and was not sent.");
    return false;
  }
  if (!Open(host, port)) return connected_ ? EndFailedLogin() : false;
  const bool logged_in = SendCommand("USER " + user + "\r\n") && ReadLineReply() &&
                         SendCommand("PASS " + password + "\r\n") && ReadLineReply();
  return logged_in || EndFailedLogin();
}

bool CPop3Client::ConnectWithToken(const std::string& host, const Pop3TokenLogin& login, int port) {
  ForgetConnection();
  token_refused_ = false;
  if (HasLineBreak(login.user)) {
    FailWith("-ERR The login name contains a line break and was not sent.");
    return false;
  }
  if (const std::string problem = SaslOAuthMechanismProblem(login.mechanism); !problem.empty()) {
    FailWith("-ERR " + problem);
    return false;
  }
  if (!Open(host, port)) return connected_ ? EndFailedLogin() : false;
  return AuthenticateWithToken(login) || EndFailedLogin();
}

std::string CPop3Client::ChosenMechanism(const Pop3TokenLogin& login) const {
  if (!login.mechanism.empty()) return SaslOAuthMechanismNamed(login.mechanism);
  for (const char* mechanism : {"XOAUTH2", "OAUTHBEARER"})
    for (const std::string& listed : capabilities_.sasl)
      if (EqualsIgnoringCase(listed, mechanism)) return mechanism;
  return {};
}

bool CPop3Client::AuthenticateWithToken(const Pop3TokenLogin& login) {
  const std::string mechanism = ChosenMechanism(login);
  if (mechanism.empty()) {
    FailWith("-ERR The server offers neither XOAUTH2 nor OAUTHBEARER (its CAPA lists SASL" +
             (capabilities_.sasl.empty() ? std::string(" nothing") : " " + JoinedWords(capabilities_.sasl)) + ").");
    return false;
  }
  const std::string response = SaslOAuthResponse(mechanism, login.user, login.token);
  const std::string inline_command = "AUTH " + mechanism + " " + response + "\r\n";
  bool continuation = false;
  std::string challenge;
  if (!login.two_line && inline_command.size() <= kMaxAuthCommand) {
    if (!SendCommand(inline_command) || !ReadSaslStep(continuation, challenge)) return false;
  } else {
    if (!SendCommand("AUTH " + mechanism + "\r\n") || !ReadSaslStep(continuation, challenge)) return false;
    if (!continuation) return Abandon("-ERR The server accepted AUTH " + mechanism + " without the token; connection closed.");
    if (!SendCommand(response + "\r\n") || !ReadSaslStep(continuation, challenge)) return false;
  }
  return !continuation || RefuseToken(mechanism, challenge);
}

bool CPop3Client::RefuseToken(const std::string& mechanism, const std::string& challenge) {
  const std::string status = SaslOAuthErrorStatus(challenge);
  bool continuation = false;
  std::string ignored;
  // The server ends the exchange with "-ERR" once the answer arrived.
  if (!SendCommand(SaslOAuthErrorAnswer(mechanism) + "\r\n")) return false;
  const bool accepted = ReadSaslStep(continuation, ignored);
  if (!connected_) return false;
  if (accepted && !continuation) return Abandon("-ERR The server let the refused token in; connection closed.");
  token_refused_ = true;
  FailWith("-ERR AUTH " + mechanism + " refused the access token (status " + status + "): " + last_response_);
  return false;
}

bool CPop3Client::StartTls(const std::string& host, int port) {
  if (!socket_.StartTls(host, tls, read_timeout_ms)) return false;
  if (!tls.verify) LogEvent(UncheckedCertificateWarning(host, port));
  return true;
}

// STLS after the greeting; a server that refuses it never gets the login in plain text.
bool CPop3Client::UpgradeToTlsIfConfigured(const std::string& host, int port) {
  if (tls.mode != TlsMode::kUpgrade) return true;
  if (!SendCommand("STLS\r\n")) return false;
  if (!ReadLineReply()) {
    FailWith("-ERR " + UpgradeRefusedText("STLS", last_response_));
    return false;
  }
  if (!StartTls(host, port)) {
    FailWith(socket_.ConnectError());
    return false;
  }
  // What was listed before the upgrade may have been forged on the way (RFC 2595).
  return AskCapabilities();
}

bool CPop3Client::AskCapabilities() {
  capabilities_ = {};
  const std::string kept_response = last_response_;
  const Failure kept_failure = last_failure_;
  std::string listing;
  if (!SendCommand("CAPA\r\n")) return false;
  if (ReadListing(kMaxStatusLine, listing)) {
    capabilities_ = ParseCapabilities(listing);
  } else if (connected_) {
    FailWith(kept_response, kept_failure);
  }
  return connected_;
}

bool CPop3Client::Disconnect() {
  bool result = false;
  if (connected_) {
    const std::string kept_response = last_response_;
    result = SendCommand("QUIT\r\n") && ReadLineReply();
    if (result) last_response_ = kept_response;  // a failed QUIT reports its own reply
  }
  socket_.Close();
  ForgetConnection();
  return result;
}

bool CPop3Client::Statistics(int& count, int& size) {
  return SendCommand("STAT\r\n") && ReadStatReply(count, size);
}

bool CPop3Client::EnsureStatisticsKnown() {
  if (statistics_known_) return true;
  int count = 0;
  int size = 0;
  statistics_known_ = Statistics(count, size);
  return statistics_known_;
}

bool CPop3Client::EnsureSizesKnown() {
  if (sizes_known_) return true;
  sizes_known_ = EnsureStatisticsKnown() && SendCommand("LIST\r\n") && ReadSizeList();
  return sizes_known_;
}

bool CPop3Client::EnsureUniqueIdsKnown() {
  if (unique_ids_ == UniqueIds::kKnown) return true;
  if (unique_ids_ == UniqueIds::kRefused) {
    FailWith("-ERR The server does not offer UIDL.");
    return false;
  }
  return EnsureStatisticsKnown() && SendCommand("UIDL\r\n") && ReadUniqueIds();
}

bool CPop3Client::ReadUniqueIds() {
  std::string listing;
  if (!ReadListing(ListingLimit(), listing)) {
    if (connected_) unique_ids_ = UniqueIds::kRefused;
    return false;
  }
  unique_id_of_ = ParseUniqueIds(listing);
  unique_ids_ = UniqueIds::kKnown;
  return true;
}

bool CPop3Client::FetchListings(bool unique_ids) {
  if (!Pipelines() || sizes_known_) return true;
  if (run_ && !EndRun()) return false;
  const bool ask_statistics = !statistics_known_;
  const bool ask_unique_ids = unique_ids && unique_ids_ == UniqueIds::kUnasked;
  const std::string commands =
      std::string(ask_statistics ? "STAT\r\n" : "") + "LIST\r\n" + (ask_unique_ids ? "UIDL\r\n" : "");
  if (!SendAhead(commands, size_t{ask_statistics} + 1 + size_t{ask_unique_ids})) return false;
  int count = 0;
  int size = 0;
  if (ask_statistics) statistics_known_ = ReadStatReply(count, size);
  // Each reply is read while the connection stands, whatever the one before said.
  sizes_known_ = connected_ && ReadSizeList() && statistics_known_;
  if (ask_unique_ids && connected_) ReadUniqueIds();
  return connected_;
}

bool CPop3Client::GetMessageSize(int n, uint32_t& size) {
  if (!EnsureSizesKnown()) return false;
  if (n < 1 || static_cast<size_t>(n) > message_sizes_.size()) {
    FailWith(FormatText("-ERR Message %d is not in the server's list of %zu messages.", n, message_sizes_.size()));
    return false;
  }
  size = message_sizes_[static_cast<size_t>(n) - 1];
  return true;
}

bool CPop3Client::GetUniqueId(int n, std::string& id) {
  if (!EnsureUniqueIdsKnown()) return false;
  const auto found = unique_id_of_.find(n);
  if (found == unique_id_of_.end()) {
    FailWith(FormatText("-ERR Message %d is not in the server's UIDL list.", n));
    return false;
  }
  id = found->second;
  return true;
}

bool CPop3Client::GetUniqueIds(std::vector<std::string>& ids) {
  if (!EnsureUniqueIdsKnown()) return false;
  ids.clear();
  for (const auto& [number, id] : unique_id_of_) ids.push_back(id);
  return true;
}

bool CPop3Client::Pipelines() const {
  return connected_ && (pipelining == Pipelining::kAlways ||
                        (pipelining == Pipelining::kAuto && capabilities_.pipelining));
}

void CPop3Client::PlanRun(RunKind kind, std::vector<int> numbers) {
  if (run_ && !EndRun()) return;
  if (Pipelines()) run_ = Run{kind, std::move(numbers)};
}

bool CPop3Client::NextInRun(RunKind kind, int n) const {
  return run_ && run_->kind == kind && run_->read < run_->numbers.size() && run_->numbers[run_->read] == n;
}

// Only messages that LIST names are asked for; a run stops sending at the first one it does not.
bool CPop3Client::SendRunAhead() {
  std::string commands;
  size_t count = 0;
  for (; run_->sent < run_->numbers.size() && run_->sent - run_->read < kPipelineWindow; ++run_->sent, ++count) {
    const int n = run_->numbers[run_->sent];
    if (n < 1 || static_cast<size_t>(n) > message_sizes_.size()) break;
    commands += CommandOf(run_->kind, n);
  }
  return count == 0 || SendAhead(commands, count);
}

bool CPop3Client::EndRun() {
  const Run run = *std::exchange(run_, std::nullopt);
  for (size_t i = run.read; i < run.sent && connected_; ++i) {
    CPop3Text dropped;
    ReadTextReply(dropped, kFirstHeaderSize, run.kind == RunKind::kHeaders ? kMaxHeaderReply : max_message_bytes);
  }
  return connected_;
}

bool CPop3Client::FetchText(RunKind kind, int n, size_t limit, CPop3Text& message) {
  uint32_t size = 0;
  if (!GetMessageSize(n, size)) return false;
  const size_t first_size = std::min(limit, size_t{size} + kStatusLineRoom);
  if (!NextInRun(kind, n)) return SendCommand(CommandOf(kind, n)) && ReadTextReply(message, first_size, limit);
  if (!SendRunAhead()) return false;
  if (++run_->read == run_->numbers.size()) run_.reset();
  return ReadTextReply(message, first_size, limit);
}

bool CPop3Client::GetMessageHeader(int n, CPop3Text& message) {
  return FetchText(RunKind::kHeaders, n, kMaxHeaderReply, message);
}

bool CPop3Client::GetMessageTop(int n, int lines, CPop3Text& message) {
  uint32_t size = 0;
  if (!GetMessageSize(n, size)) return false;
  const size_t first_size = std::min(max_message_bytes, size_t{size} + kStatusLineRoom);
  return SendCommand(FormatText("TOP %d %d\r\n", n, lines)) && ReadTextReply(message, first_size, max_message_bytes);
}

bool CPop3Client::Retrieve(int n, CPop3Text& message) { return FetchText(RunKind::kRetrieve, n, max_message_bytes, message); }

bool CPop3Client::Delete(int n) {
  return EnsureSizesKnown() && SendCommand(FormatText("DELE %d\r\n", n)) && ReadLineReply();
}

}  // namespace larkspin
