#include "smtp/smtp_connection.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>
#include <vector>

#include "config/log.h"
#include "common/decimal.h"
#include "common/format.h"
#include "common/string_tools.h"
#include "mime/base64.h"
#include "mime/sasl_oauth.h"
#include "platform/last_error.h"
#include "smtp/dot_stuff.h"
#include "smtp/hmac_md5.h"
#include "smtp/smtp_mail.h"

namespace larkspin {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
constexpr size_t kFirstReplySize = 256;
constexpr size_t kReplyGrowth = 4096;
// The longest reply read, all lines of a multi-line one together.
constexpr size_t kMaxReplyBytes = size_t{64} << 10;
constexpr size_t kHostNameSize = 260;

// A command line holds exactly one line break: the CR LF that ends it.
bool IsSingleLine(const std::string& line) { return line.find_first_of("\r\n") == line.size() - kLineEnd.size(); }

bool IsComplete(std::string_view text, std::string_view terminator, bool ehlo) {
  return text.ends_with(terminator) && (!ehlo || text.find("250 ") != std::string_view::npos);
}

std::string CramResponse(const std::string& user, const std::string& password, std::string_view challenge) {
  return user + " " + DigestToHex(ComputeHmacMd5(password, challenge));
}
}  // namespace

CSMTPConnection::~CSMTPConnection() {
  if (connected_) Disconnect(true);
}

void CSMTPConnection::ReportDiagnostic(const std::string&) {}

bool CSMTPConnection::Report(const std::string& text) {
  ReportDiagnostic(text);
  return false;
}

bool CSMTPConnection::Fail(int error_code, const std::string& text) {
  SetLastErrorCode(error_code);
  ReportDiagnostic(text);
  return false;
}

void CSMTPConnection::DescribeLocalFailure(const std::string& description) {
  last_response_ = description;
  last_response_code_ = 0;
}

bool CSMTPConnection::LoseConnection(const std::string& description) {
  socket_.Close();
  connected_ = false;
  DescribeLocalFailure(description);
  return false;
}

std::string CSMTPConnection::Prompt() const { return last_response_.size() > 4 ? last_response_.substr(4) : ""; }

// ---- Reading replies ----

bool CSMTPConnection::ReadCommandReply(int expected_code, bool ehlo) {
  CReplyBuffer buffer(kFirstReplySize, kMaxReplyBytes);
  return ReadResponse(buffer, kLineEnd, expected_code, kReplyGrowth, ehlo);
}

bool CSMTPConnection::ReadResponse(CReplyBuffer& buffer, std::string_view terminator, int expected_code,
                                   size_t growth_step, bool ehlo) {
  while (!IsComplete(buffer.View(), terminator, ehlo)) {
    bool readable = false;
    if (!socket_.WaitReadable(timeout_ms_, readable))
      return LoseConnection(
          FormatText("Waiting for the SMTP server failed: %s; connection closed.", std::strerror(errno)));
    if (!readable) {
      SetLastErrorCode(kErrorTimedOut);
      ReportDiagnostic("CSMTPConnection::ReadResponse, Timed Out waiting for response from SMTP server");
      return LoseConnection(
          FormatText("No reply from the SMTP server within %g s; connection closed.", timeout_ms_ / 1000.0));
    }
    const std::span<char> space = buffer.ReceiveSpace();
    const ssize_t received = socket_.Receive(space.data(), space.size());
    if (received == 0) return LoseConnection("The SMTP server closed the connection.");
    if (received < 0)
      return LoseConnection(
          FormatText("Receiving from the SMTP server failed: %s; connection closed.", std::strerror(errno)));
    buffer.Commit(static_cast<size_t>(received));
    if (buffer.Room() == 0 && !buffer.Grow(growth_step) && !IsComplete(buffer.View(), terminator, ehlo))
      return LoseConnection(FormatText("The SMTP server's reply is too long (over %zu bytes); connection closed.",
                                       buffer.Limit()));
  }
  buffer.DropSuffix(terminator.size());
  const std::string_view reply = buffer.View();
  for (size_t start = 0;;) {
    last_response_code_ = ParseDecimalInt(reply.substr(start, 3));
    last_response_ = reply.substr(start);
    if (last_response_code_ == expected_code) return true;
    const size_t next = reply.find(terminator, start);
    if (next == std::string_view::npos) break;
    start = next + terminator.size();
  }
  SetLastErrorCode(kErrorNegativeReply);
  return false;
}

// ---- Sending ----

bool CSMTPConnection::SendData(const std::string& data) {
  if (!connected_) {
    system_error_ = ENOTCONN;
    DescribeLocalFailure("Not connected to the SMTP server.");
    return false;
  }
  if (socket_.Send(data.data(), data.size())) return true;
  system_error_ = errno;
  return LoseConnection(
      FormatText("Sending to the SMTP server failed: %s; connection closed.", std::strerror(system_error_)));
}

bool CSMTPConnection::SendCommand(const std::string& line) {
  if (IsSingleLine(line)) return SendData(line);
  system_error_ = kErrorInvalidArgument;
  SetLastErrorCode(kErrorInvalidArgument);
  DescribeLocalFailure("A command was not sent because a value in it holds a line break.");
  return false;
}

bool CSMTPConnection::SendReported(const std::string& data, const char* diagnostic_format) {
  if (SendData(data)) return true;
  ReportDiagnostic(FormatText(diagnostic_format, system_error_));
  return false;
}

// ---- Connecting and authenticating ----

void CSMTPConnection::ResolveAutoHeloName() {
  if (helo_name_ != "auto") return;
  char name[kHostNameSize] = {};
  if (::gethostname(name, sizeof name - 1) == 0) helo_name_ = name;
}

bool CSMTPConnection::Connect(const std::string& host, int method, const std::string& user,
                              const std::string& password, int port, const std::string& local_address) {
  connected_ = false;
  if (tls.mode == TlsMode::kUnknown) {
    DescribeLocalFailure("The account's SMTPSecurity setting is not one of None, SSL or STARTTLS.");
    return false;
  }
  if (const std::string problem = SaslOAuthMechanismProblem(oauth_mechanism); method == kAuthOAuth2 && !problem.empty()) {
    DescribeLocalFailure(problem);
    return false;
  }
  if (!socket_.Create()) {
    const int code = errno;
    DescribeLocalFailure(FormatText("Cannot create a socket: %s", std::strerror(code)));
    ReportDiagnostic(
        FormatText("CSMTPConnection::Connect, Failed to create client socket, GetLastError returns: %d\n", code));
    return false;
  }
  SetLastErrorCode(kErrorNone);
  if (!socket_.Connect(host, port, local_address)) {
    const int code = LastErrorCode() != kErrorNone ? LastErrorCode() : errno;
    DescribeLocalFailure(socket_.ConnectError());
    if (local_address.empty()) {
      ReportDiagnostic(FormatText(
          "CSMTPConnection::Connect, Could not connect to the SMTP server %s on port %d, GetLastError returns: %d",
          host.c_str(), port, code));
    } else {
      ReportDiagnostic(FormatText("CSMTPConnection::Connect, Could not connect to the SMTP server %s on port %d from "
                                  "LocalAddress:%s, GetLastError returns: %d",
                                  host.c_str(), port, local_address.c_str(), code));
    }
    socket_.Close();
    return false;
  }
  if (tls.mode == TlsMode::kImplicit && !StartTls(host, port)) {
    DescribeLocalFailure(socket_.ConnectError());
    socket_.Close();
    return false;
  }
  connected_ = true;
  if (!ReadCommandReply(220, false)) {
    ReportDiagnostic("CSMTPConnection::Connect, An unexpected SMTP login response was received");
    DisconnectKeepingReply();
    return false;
  }
  ResolveAutoHeloName();
  const bool upgrading = tls.mode == TlsMode::kUpgrade;
  if (upgrading && !UpgradeToTls(host, port)) {
    DisconnectKeepingReply();
    return false;
  }
  // After STARTTLS the session starts anew and must greet with EHLO even without a login.
  const bool greeted = method != kAuthNone ? ConnectESMTP(user, password, method)
                       : upgrading         ? SendEhlo()
                                           : ConnectSMTP();
  if (greeted) return true;
  DisconnectKeepingReply();
  ReportDiagnostic("CSMTPConnection::Connect, An unexpected HELO/EHLO response was received");
  return false;
}

void CSMTPConnection::DisconnectKeepingReply() {
  const std::string reply = last_response_;
  const int code = last_response_code_;
  Disconnect(true);
  last_response_ = reply;
  last_response_code_ = code;
}

bool CSMTPConnection::ConnectSMTP() {
  if (!SendCommand(FormatText("HELO %s\r\n", helo_name_.c_str()))) {
    ReportDiagnostic("CSMTPConnection::ConnectSMTP, An unexpected error occurred while sending the HELO command");
    return false;
  }
  return ReadCommandReply(250, false);
}

bool CSMTPConnection::SendEhlo() {
  if (!SendCommand(FormatText("EHLO %s\r\n", helo_name_.c_str()))) {
    ReportDiagnostic("CSMTPConnection::ConnectESMTP, An unexpected error occurred while sending the EHLO command");
    return false;
  }
  if (!ReadCommandReply(250, true)) {
    ReportDiagnostic(
        "CSMTPConnection::ConnectESMTP, An unexpected response was received occurred while sending the EHLO command");
    return false;
  }
  return true;
}

bool CSMTPConnection::StartTls(const std::string& host, int port) {
  if (!socket_.StartTls(host, tls, timeout_ms_)) return false;
  if (!tls.verify)
    LogEvent(UncheckedCertificateWarning(host, port));
  return true;
}

// EHLO, STARTTLS, then TLS; a server that refuses STARTTLS never gets the login in plain text.
bool CSMTPConnection::UpgradeToTls(const std::string& host, int port) {
  if (!SendEhlo() || !SendCommand("STARTTLS\r\n")) return false;
  if (!ReadCommandReply(220, false)) {
    const int refusal_code = last_response_code_;
    DescribeLocalFailure(UpgradeRefusedText("STARTTLS", last_response_));
    last_response_code_ = refusal_code;
    return false;
  }
  if (StartTls(host, port)) return true;
  DescribeLocalFailure(socket_.ConnectError());
  return false;
}

bool CSMTPConnection::ConnectESMTP(const std::string& user, const std::string& password, int method) {
  token_refused_ = false;
  if (!SendEhlo()) return false;
  switch (method) {
    case kAuthOAuth2:
      return OAuthLogin(user, password, last_response_);
    case kAuthCramMd5:
      return CramLogin(user, password);
    case kAuthLogin:
      return AuthLogin(user, password);
    case kAuthLoginPlain:
      return AuthLoginPlain(user, password);
    default:
      return false;
  }
}

bool CSMTPConnection::AuthLogin(const std::string& user, const std::string& password) {
  const Base64Codec codec;
  if (!SendCommand("AUTH LOGIN\r\n")) {
    return Report("CSMTPConnection::AuthLogin, An unexpected error occurred while sending the AUTH command");
  }
  if (!ReadCommandReply(334, false)) return Report("CSMTPConnection::AuthLogin, Server does not support AUTH LOGIN");
  if (!EqualsIgnoringCase(codec.DecodeText(Prompt()), "username:")) {
    return Report("CSMTPConnection::AuthLogin, An unexpected request received when expecting username request");
  }
  if (!SendCommand(codec.Encode(user) + "\r\n")) {
    return Report("CSMTPConnection::AuthLogin, An unexpected error occurred while sending the username");
  }
  if (!ReadCommandReply(334, false)) {
    return Report("CSMTPConnection::AuthLogin, Server did not respond correctly to AUTH LOGIN username field");
  }
  if (!EqualsIgnoringCase(codec.DecodeText(Prompt()), "password:")) {
    return Report("CSMTPConnection::AuthLogin, An unexpected request received when expecting password request");
  }
  if (!SendCommand(codec.Encode(password) + "\r\n")) {
    return Report("CSMTPConnection::AuthLogin, An unexpected error occurred while sending the password");
  }
  if (!ReadCommandReply(235, false)) {
    return Report("CSMTPConnection::AuthLogin, AUTH LOGIN authentication was unsuccessful");
  }
  return true;
}

bool CSMTPConnection::AuthLoginPlain(const std::string& user, const std::string& password) {
  if (!SendCommand("AUTH LOGIN PLAIN\r\n")) {
    return Report("CSMTPConnection::AuthLoginPlain, An unexpected error occurred while sending the AUTH command");
  }
  if (!ReadCommandReply(334, false)) {
    return Report("CSMTPConnection::AuthLoginPlain, Server does not support AUTH LOGIN PLAIN");
  }
  if (EqualsIgnoringCase(Prompt(), "username:") && !SendCommand(user + "\r\n")) {
    return Report("CSMTPConnection::AuthLoginPlain, An unexpected error occurred while sending the username");
  }
  if (!ReadCommandReply(334, false)) {
    return Report(
        "CSMTPConnection::AuthLoginPlain, Server did not response correctly to AUTH LOGIN PLAIN username field");
  }
  if (!EqualsIgnoringCase(Prompt(), "password:")) return true;
  if (!SendCommand(password + "\r\n")) {
    return Report("CSMTPConnection::AuthLoginPlain, An unexpected error occurred while sending the password");
  }
  if (!ReadCommandReply(235, false)) {
    return Report("CSMTPConnection::AuthLoginPlain, AUTH LOGIN PLAIN authentication was unsuccessful");
  }
  return true;
}

bool CSMTPConnection::CramLogin(const std::string& user, const std::string& password) {
  const Base64Codec codec;
  if (!SendCommand("AUTH CRAM-MD5\r\n")) {
    return Report("CSMTPConnection::CramLogin, An unexpected error occurred while sending the AUTH command");
  }
  if (!ReadCommandReply(334, false)) return Report("CSMTPConnection::CramLogin, Server does not support AUTH CRAM-MD5");
  const std::string challenge = codec.DecodeText(Prompt());
  if (!SendCommand(codec.Encode(CramResponse(user, password, challenge)) + "\r\n")) {
    return Report("CSMTPConnection::CramLogin, An unexpected error occurred while sending the username");
  }
  if (!ReadCommandReply(235, false)) {
    return Report("CSMTPConnection::CramLogin, AUTH CRAM-MD5 authentication was unsuccessful");
  }
  return true;
}

namespace {
// The words of the EHLO reply's AUTH lines ("250-AUTH PLAIN XOAUTH2", or the old form
// "250 AUTH=PLAIN LOGIN"): the mechanisms the server offers.
std::vector<std::string> EhloAuthMechanisms(std::string_view ehlo_reply) {
  std::vector<std::string> mechanisms;
  std::istringstream lines{std::string(ehlo_reply)};
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line.size() > 4 ? line.substr(4) : "");
    std::string keyword;
    words >> keyword;
    if (keyword.size() > 5 && EqualsIgnoringCase(keyword.substr(0, 5), "AUTH=")) mechanisms.push_back(keyword.substr(5));
    else if (!EqualsIgnoringCase(keyword, "AUTH")) continue;
    for (std::string word; words >> word;) mechanisms.push_back(word);
  }
  return mechanisms;
}

bool Offers(const std::vector<std::string>& mechanisms, std::string_view mechanism) {
  return std::any_of(mechanisms.begin(), mechanisms.end(),
                     [mechanism](const std::string& offered) { return EqualsIgnoringCase(offered, mechanism); });
}

// The mechanism of an OAuth login: the forced one, else XOAUTH2 unless EHLO offers only OAUTHBEARER.
std::string OAuthMechanismOf(const std::string& forced, const std::string& ehlo_reply) {
  if (!forced.empty()) return SaslOAuthMechanismNamed(forced);
  const std::vector<std::string> offered = EhloAuthMechanisms(ehlo_reply);
  return Offers(offered, "OAUTHBEARER") && !Offers(offered, "XOAUTH2") ? "OAUTHBEARER" : "XOAUTH2";
}

// The longest AUTH command that carries its initial response, its line end included.
constexpr size_t kMaxInlineAuthCommand = 255;
}  // namespace

bool CSMTPConnection::OAuthLogin(const std::string& user, const std::string& token, const std::string& ehlo_reply) {
  const std::string mechanism = OAuthMechanismOf(oauth_mechanism, ehlo_reply);
  const std::string response = SaslOAuthResponse(mechanism, user, token);
  const std::string inline_command = "AUTH " + mechanism + " " + response + "\r\n";
  if (!oauth_two_line && inline_command.size() <= kMaxInlineAuthCommand) {
    if (!SendCommand(inline_command)) return Report("CSMTPConnection::OAuthLogin, The AUTH command could not be sent");
  } else {
    if (!SendCommand("AUTH " + mechanism + "\r\n"))
      return Report("CSMTPConnection::OAuthLogin, The AUTH command could not be sent");
    if (!ReadCommandReply(334, false)) return Report("CSMTPConnection::OAuthLogin, Server does not support AUTH " + mechanism);
    if (!SendCommand(response + "\r\n")) return Report("CSMTPConnection::OAuthLogin, The token could not be sent");
  }
  if (ReadCommandReply(235, false)) return true;
  if (connected_ && last_response_code_ == 334) return RefuseToken(mechanism);
  return Report("CSMTPConnection::OAuthLogin, AUTH " + mechanism + " authentication was unsuccessful");
}

bool CSMTPConnection::RefuseToken(const std::string& mechanism) {
  const std::string status = SaslOAuthErrorStatus(Prompt());
  // The server ends the exchange with its failure reply once the answer arrived.
  if (!SendCommand(SaslOAuthErrorAnswer(mechanism) + "\r\n"))
    return Report("CSMTPConnection::OAuthLogin, The answer to the error challenge could not be sent");
  ReadCommandReply(235, false);
  token_refused_ = true;
  if (connected_) last_response_ = "AUTH " + mechanism + " refused the access token (status " + status + "): " + last_response_;
  return Report("CSMTPConnection::OAuthLogin, AUTH " + mechanism + " refused the access token");
}

// ---- The mail transaction ----

bool CSMTPConnection::SendMessage(const CSMTPMail& message) {
  if (!SendCommand(FormatText("MAIL FROM:<%s>\r\n", message.From().Address().c_str()))) {
    return Report(
        FormatText("CSMTPConnection::SendMessage, Failed in call to send MAIL command, GetLastError returns: %d",
                             system_error_));
  }
  if (!ReadCommandReply(250, false)) {
    return Fail(kErrorBadCommand, "CSMTPConnection::SendMessage, An unexpected MAIL response was received");
  }
  if (!SendRecipients(message)) return false;
  if (!SendReported("DATA\r\n",
                    "CSMTPConnection::SendMessage, Failed in call to send DATA command, GetLastError returns: %d")) {
    return false;
  }
  if (!ReadCommandReply(354, false)) {
    return Fail(kErrorBadCommand, "CSMTPConnection::SendMessage, An unexpected DATA response was received");
  }
  if (!SendReported(message.RenderHeader(),
                    "CSMTPConnection::SendMessage, Failed in call to send the header, GetLastError returns: %d") ||
      !SendReported("\r\n", "CSMTPConnection::SendMessage, Failed in call to send the header / body separator, "
                            "GetLastError returns: %d")) {
    return false;
  }
  const CSMTPPart& root = message.Root();
  if (root.ChildCount() > 0 || message.MimeEnabled()) {
    if (!SendBodyPart(root, true)) return false;
  } else if (!SendReported(DotStuff(root.Text()), "CSMTPConnection::SendMessage, Failed in call to send the message "
                                                  "body, GetLastError returns: %d")) {
    return false;
  }
  if (!SendReported("\r\n.\r\n", "CSMTPConnection::SendMessage, Failed in call to send end of message indicator, "
                                 "GetLastError returns: %d")) {
    return false;
  }
  if (!ReadCommandReply(250, false)) {
    return Fail(kErrorBadCommand, "CSMTPConnection::SendMessage, An unexpected end of message response was received");
  }
  return true;
}

bool CSMTPConnection::SendRecipients(const CSMTPMail& message) {
  for (const int type : {kRecipientTo, kRecipientCc, kRecipientBcc}) {
    for (int i = 0; i < message.RecipientCount(type); ++i) {
      if (!SendRCPTForRecipient(message.Recipient(type, i))) return false;
    }
  }
  return true;
}

bool CSMTPConnection::SendRCPTForRecipient(const CSMTPRecipient& recipient) {
  if (!SendCommand(FormatText("RCPT TO:<%s>\r\n", recipient.Address().c_str()))) {
    return Report(FormatText(
        "CSMTPConnection::SendRCPTForRecipient, Failed in call to send RCPT command, GetLastError returns: %d",
        system_error_));
  }
  if (!ReadCommandReply(250, false)) {
    return Fail(kErrorBadCommand, "CSMTPConnection::SendRCPTForRecipient, An unexpected RCPT response was received");
  }
  return true;
}

bool CSMTPConnection::SendBodyPart(const CSMTPPart& part, bool root) {
  static constexpr const char* kHeaderFailure =
      "CSMTPConnection::SendBodyPart, Failed in call to send body parts header, GetLastError returns: %d";
  static constexpr const char* kBodyFailure =
      "CSMTPConnection::SendBodyPart, Failed in call to send body parts body, GetLastError returns: %d";
  static constexpr const char* kFooterFailure =
      "CSMTPConnection::SendBodyPart, Failed in call to send body parts footer, GetLastError returns: %d";
  bool result = true;
  if (!root) {
    std::string header;
    if (!part.RenderPartHeader(header)) return Report(FormatText(kHeaderFailure, errno));
    result = SendReported(header, kHeaderFailure);
  }
  {
    std::string body;
    if (!part.RenderPartBody(body)) {
      const int code = errno;
      DescribeLocalFailure(FormatText("Cannot read the attached file '%s': %s", part.FilePath().c_str(),
                                      std::strerror(code)));
      return Report(FormatText(kBodyFailure, code));
    }
    if (!body.empty() && !SendReported(body, kBodyFailure)) result = false;
  }
  for (int i = 0; i < part.ChildCount() && result; ++i) result = SendBodyPart(*part.Child(i), false);
  if (part.ChildCount() > 0) {
    std::string footer;
    if (!part.RenderPartFooter(footer) || !SendReported(footer, kFooterFailure)) result = false;
  }
  return result;
}

bool CSMTPConnection::Disconnect(bool send_quit) {
  bool result = false;
  if (!connected_) {
    ReportDiagnostic("CSMTPConnection::Disconnect, Already disconnected from SMTP server, doing nothing");
  } else if (send_quit) {
    SendReported("QUIT\r\n", "CSMTPConnection::Disconnect, Failed in call to send QUIT command, GetLastError returns: %d");
    result = ReadCommandReply(221, false);
    if (!result) Fail(kErrorBadCommand, "CSMTPConnection::Disconnect, An unexpected QUIT response was received");
  }
  connected_ = false;
  socket_.Close();
  return result;
}

}  // namespace larkspin
