#include "pop3/pop3_client.h"

#include <algorithm>
#include <cstring>

#include "config/log.h"
#include "common/decimal.h"
#include "common/format.h"
#include "platform/last_error.h"

namespace larkspin {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kMultiLineEnd = "\r\n.\r\n";
constexpr size_t kLineGrowth = 4096;
constexpr size_t kTextGrowth = 32000;
// Never reserve more size entries up front than this, whatever count a server announces.
constexpr size_t kMaxReservedSizes = 1 << 20;

bool IsFieldSeparator(char c) { return c == ' ' || c == '\t'; }

bool BeginsWithOk(std::string_view reply, bool ignore_case) {
  if (reply.size() < 3) return false;
  if (!ignore_case) return reply.substr(0, 3) == "+OK";
  return reply[0] == '+' && (reply[1] == 'O' || reply[1] == 'o') && (reply[2] == 'K' || reply[2] == 'k');
}

// The text after the status line (after its first "\n").
std::string_view AfterStatusLine(std::string_view reply) {
  const size_t newline = reply.find('\n');
  return newline == std::string_view::npos ? std::string_view() : reply.substr(newline + 1);
}

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }
}  // namespace

CPop3Client::~CPop3Client() {
  if (connected_) Disconnect();
  socket_.Close();
}

void CPop3Client::FailWith(std::string text) { last_response_ = std::move(text); }

bool CPop3Client::ReadReply(CReplyBuffer& buffer, std::string_view terminator, size_t growth_step) {
  for (;;) {
    bool readable = false;
    if (!socket_.WaitReadable(read_timeout_ms, readable) || !readable) {
      FailWith(std::string(buffer.View()));
      return false;
    }
    const std::span<char> space = buffer.ReceiveSpace();
    const ssize_t received = socket_.Receive(space.data(), space.size());
    if (received <= 0) {
      FailWith(std::string(buffer.View()));
      return false;
    }
    buffer.Commit(static_cast<size_t>(received));
    if (buffer.Room() == 0 && !buffer.Grow(growth_step)) {
      FailWith(FormatText("-ERR The server's reply is too large (%zu bytes received).", buffer.Size()));
      return false;
    }
    if (buffer.View().ends_with(terminator)) {
      buffer.DropSuffix(terminator.size());
      if (BeginsWithOk(buffer.View(), true)) return true;
      SetLastErrorCode(kErrorNegativeReply);
      FailWith(std::string(buffer.View()));
      return false;
    }
  }
}

bool CPop3Client::ReadLineReply() {
  CReplyBuffer buffer(1000);
  return ReadReply(buffer, kLineEnd, kLineGrowth);
}

bool CPop3Client::ReadStatReply(int& count, int& size) {
  CReplyBuffer buffer(100);
  if (!ReadReply(buffer, kLineEnd, kLineGrowth)) return false;
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

bool CPop3Client::ReadSizeList(int count) {
  const size_t expected = static_cast<size_t>(std::max(count, 0));
  CReplyBuffer buffer(expected * 14 + 100);
  if (!ReadReply(buffer, kMultiLineEnd, kLineGrowth)) return false;
  message_sizes_.clear();
  message_sizes_.reserve(std::min(expected, kMaxReservedSizes));
  const std::string_view listing = AfterStatusLine(buffer.View());
  for (size_t i = 0; i < listing.size() && listing[i] != '.'; ++i) {
    if (IsFieldSeparator(listing[i])) message_sizes_.push_back(ParseDecimalU32(listing.substr(i + 1)));
  }
  return true;
}

bool CPop3Client::ReadTextReply(CPop3Text& message, uint32_t size) {
  CReplyBuffer buffer(size_t{size} + 100);
  if (!ReadReply(buffer, kMultiLineEnd, kTextGrowth)) return false;
  const size_t newline = buffer.View().find('\n');
  message.SetText(buffer.TakeFrom(newline == std::string_view::npos ? buffer.Size() : newline + 1));
  return true;
}

bool CPop3Client::SendCommand(const std::string& command) {
  if (socket_.Send(command.data(), command.size())) return true;
  FailWith(FormatText("-ERR Sending to the server failed: %s", std::strerror(errno)));
  return false;
}

bool CPop3Client::Connect(const std::string& host, const std::string& user, const std::string& password, int port) {
  if (HasLineBreak(user) || HasLineBreak(password)) {
    FailWith("-ERR The login name or password contains a line break and was not sent.");
    return false;
  }
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
  const bool logged_in = ReadLineReply() && UpgradeToTlsIfConfigured(host, port) &&
                         SendCommand("USER " + user + "\r\n") && ReadLineReply() &&
                         SendCommand("PASS " + password + "\r\n") && ReadLineReply();
  if (!logged_in) {
    const std::string login_error = last_response_;
    Disconnect();
    last_response_ = login_error;
  }
  return logged_in;
}

bool CPop3Client::StartTls(const std::string& host, int port) {
  if (!socket_.StartTls(host, tls, read_timeout_ms)) return false;
  if (!tls.verify)
    LogEvent(UncheckedCertificateWarning(host, port));
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
  if (StartTls(host, port)) return true;
  FailWith(socket_.ConnectError());
  return false;
}

bool CPop3Client::Disconnect() {
  bool result = false;
  if (connected_) {
    const std::string kept_response = last_response_;
    socket_.Send("QUIT\r\n", 6);
    result = ReadLineReply();
    if (result) last_response_ = kept_response;  // a failed QUIT reports its own reply
    connected_ = false;
    sizes_known_ = false;
    statistics_known_ = false;
  }
  socket_.Close();
  return result;
}

bool CPop3Client::Statistics(int& count, int& size) {
  return SendCommand("STAT\r\n") && ReadStatReply(count, size);
}

bool CPop3Client::EnsureSizesKnown() {
  if (sizes_known_) return true;
  if (!statistics_known_) {
    int count = 0;
    int size = 0;
    if (!Statistics(count, size)) return false;
    statistics_known_ = true;
  }
  sizes_known_ = SendCommand("LIST\r\n") && ReadSizeList(message_count_);
  return sizes_known_;
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

bool CPop3Client::FetchText(const char* command, int n, CPop3Text& message) {
  uint32_t size = 0;
  if (!GetMessageSize(n, size)) return false;
  return SendCommand(FormatText(command, n)) && ReadTextReply(message, size);
}

bool CPop3Client::GetMessageHeader(int n, CPop3Text& message) { return FetchText("TOP %d 0\r\n", n, message); }

bool CPop3Client::Retrieve(int n, CPop3Text& message) { return FetchText("RETR %d\r\n", n, message); }

bool CPop3Client::Delete(int n) {
  return EnsureSizesKnown() && SendCommand(FormatText("DELE %d\r\n", n)) && ReadLineReply();
}

}  // namespace larkspin
