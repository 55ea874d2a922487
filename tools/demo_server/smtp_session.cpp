#include "demo_server/smtp_session.h"

#include <cctype>
#include <chrono>

#include "common/format.h"
#include "mime/base64.h"
#include "smtp/hmac_md5.h"

namespace larkspin::demo {

namespace {
constexpr std::string_view kGreeting = "220 Larkspin demo SMTP server ready\r\n";
constexpr const char* kInvalidCredentials = "535 5.7.8 Authentication credentials invalid\r\n";
constexpr const char* kCancelled = "501 5.7.0 Authentication cancelled\r\n";

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) { return UpperCase(a) == UpperCase(b); }

// The verb (upper case) and the rest of a command line.
void SplitCommand(const std::string& line, std::string& verb, std::string& argument) {
  const size_t blank = line.find(' ');
  verb = UpperCase(line.substr(0, blank));
  const size_t start = blank == std::string::npos ? blank : line.find_first_not_of(' ', blank);
  argument = start == std::string::npos ? "" : line.substr(start);
}

// A challenge that differs for every exchange: the time in microseconds.
std::string CramChallenge() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const long long microseconds = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
  return FormatText("<%lld@larkspin-demo>", microseconds);
}
}  // namespace

bool PathOfArgument(const std::string& argument, const std::string& keyword, std::string& path) {
  if (argument.size() <= keyword.size() || !EqualsIgnoringCase(argument.substr(0, keyword.size()), keyword) ||
      argument[keyword.size()] != ':')
    return false;
  const std::string rest = argument.substr(keyword.size() + 1);
  const size_t open = rest.find('<');
  const size_t close = rest.find('>', open == std::string::npos ? 0 : open);
  if (open == std::string::npos || close == std::string::npos) return false;
  path = rest.substr(open + 1, close - open - 1);
  return true;
}

void CSmtpSession::Run() {
  if (!connection_.Send(kGreeting)) return;
  std::string line;
  while (!quitting_ && !left_ && connection_.ReadLine(line)) {
    const std::string reply = Answer(line);
    if (left_ || !connection_.Send(reply)) return;
  }
}

std::string CSmtpSession::Answer(const std::string& line) {
  std::string verb;
  std::string argument;
  SplitCommand(line, verb, argument);
  if (verb == "HELO" || verb == "EHLO") return Greet(verb, argument);
  if (verb == "NOOP") return "250 2.0.0 OK\r\n";
  if (verb == "RSET") {
    Reset();
    return "250 2.0.0 OK\r\n";
  }
  if (verb == "QUIT") {
    quitting_ = true;
    return "221 2.0.0 Larkspin demo server closing the connection\r\n";
  }
  if (!greeted_) return "503 5.5.1 Say HELO or EHLO first\r\n";
  if (verb == "AUTH") return Authenticate(argument);
  if (verb == "MAIL") return Mail(argument);
  if (verb == "RCPT") return Recipient(argument);
  if (verb == "DATA") return Data();
  return "500 5.5.2 Command not recognized\r\n";
}

std::string CSmtpSession::Greet(const std::string& verb, const std::string& argument) {
  if (argument.empty()) return FormatText("501 5.5.4 %s needs a name\r\n", verb.c_str());
  greeted_ = true;
  Reset();
  if (verb == "HELO") return "250 Larkspin demo server, hello " + argument + "\r\n";
  return "250-Larkspin demo server, hello " + argument + "\r\n250-AUTH LOGIN PLAIN CRAM-MD5\r\n250-8BITMIME\r\n" +
         FormatText("250 SIZE %zu\r\n", kMaxMessageBytes);
}

std::string CSmtpSession::Authenticate(const std::string& argument) {
  if (!login_.empty()) return "503 5.5.1 Already authenticated\r\n";
  if (in_transaction_) return "503 5.5.1 Not during a mail transaction\r\n";
  std::string mechanism;
  std::string initial_response;
  SplitCommand(argument, mechanism, initial_response);
  if (mechanism == "LOGIN" && EqualsIgnoringCase(initial_response, "PLAIN")) return AuthLoginPlain();
  if (mechanism == "LOGIN") return AuthLogin(initial_response);
  if (mechanism == "PLAIN") return AuthPlain(initial_response);
  if (mechanism == "CRAM-MD5" && initial_response.empty()) return AuthCramMd5();
  return "504 5.5.4 Unrecognized authentication type\r\n";
}

bool CSmtpSession::Ask(const std::string& prompt, std::string& answer) {
  if (!connection_.Send(prompt) || !connection_.ReadLine(answer)) {
    left_ = true;
    return false;
  }
  return answer != "*";
}

std::string CSmtpSession::Verdict(const std::string& login, bool valid) {
  if (!valid) return kInvalidCredentials;
  login_ = login;
  return "235 2.7.0 Authentication successful\r\n";
}

std::string CSmtpSession::AuthLogin(const std::string& initial_response) {
  const Base64Codec codec;
  std::string encoded_login = initial_response;
  std::string encoded_password;
  if (encoded_login.empty() && !Ask("334 VXNlcm5hbWU6\r\n", encoded_login)) return kCancelled;
  if (!Ask("334 UGFzc3dvcmQ6\r\n", encoded_password)) return kCancelled;
  const std::string login = codec.DecodeText(encoded_login);
  return Verdict(login, login == credentials_.login && codec.DecodeText(encoded_password) == credentials_.password);
}

std::string CSmtpSession::AuthLoginPlain() {
  std::string login;
  std::string password;
  if (!Ask("334 Username:\r\n", login) || !Ask("334 Password:\r\n", password)) return kCancelled;
  return Verdict(login, login == credentials_.login && password == credentials_.password);
}

std::string CSmtpSession::AuthPlain(const std::string& initial_response) {
  std::string encoded = initial_response;
  if (encoded.empty() && !Ask("334 \r\n", encoded)) return kCancelled;
  // authorization identity, NUL, login, NUL, password
  const std::string decoded = Base64Codec().Decode(encoded);
  const size_t first = decoded.find('\0');
  const size_t second = first == std::string::npos ? first : decoded.find('\0', first + 1);
  if (second == std::string::npos) return "501 5.5.2 Cannot decode the response\r\n";
  const std::string login = decoded.substr(first + 1, second - first - 1);
  const std::string password = decoded.substr(second + 1, decoded.find('\0', second + 1) - second - 1);
  return Verdict(login, login == credentials_.login && password == credentials_.password);
}

std::string CSmtpSession::AuthCramMd5() {
  const Base64Codec codec;
  const std::string challenge = CramChallenge();
  std::string encoded;
  if (!Ask("334 " + codec.Encode(challenge) + "\r\n", encoded)) return kCancelled;
  const std::string response = codec.DecodeText(encoded);
  const size_t blank = response.rfind(' ');
  if (blank == std::string::npos) return kInvalidCredentials;
  const std::string login = response.substr(0, blank);
  const std::string expected = DigestToHex(ComputeHmacMd5(credentials_.password, challenge));
  return Verdict(login, login == credentials_.login && response.substr(blank + 1) == expected);
}

std::string CSmtpSession::Mail(const std::string& argument) {
  if (in_transaction_) return "503 5.5.1 Nested MAIL command\r\n";
  std::string from;
  if (!PathOfArgument(argument, "FROM", from)) return "501 5.5.4 Syntax: MAIL FROM:<address>\r\n";
  Reset();
  in_transaction_ = true;
  mail_.from = from;
  return "250 2.1.0 Sender OK\r\n";
}

std::string CSmtpSession::Recipient(const std::string& argument) {
  if (!in_transaction_) return "503 5.5.1 MAIL first\r\n";
  std::string to;
  if (!PathOfArgument(argument, "TO", to) || to.empty()) return "501 5.5.4 Syntax: RCPT TO:<address>\r\n";
  mail_.recipients.push_back(to);
  return "250 2.1.5 Recipient OK\r\n";
}

std::string CSmtpSession::Data() {
  if (!in_transaction_) return "503 5.5.1 MAIL first\r\n";
  if (mail_.recipients.empty()) return "554 5.5.1 No valid recipients\r\n";
  if (!connection_.Send("354 End data with <CR><LF>.<CR><LF>\r\n")) {
    left_ = true;
    return {};
  }
  bool too_large = false;
  for (std::string line;;) {
    if (!connection_.ReadLine(line)) {
      left_ = true;
      return {};
    }
    if (line == ".") break;
    if (too_large) continue;
    if (line.starts_with(".")) line.erase(0, 1);
    mail_.data += line + "\r\n";
    too_large = mail_.data.size() > kMaxMessageBytes;
  }
  in_transaction_ = false;
  if (too_large) {
    Reset();
    return "552 5.3.4 Message too big for the demo server\r\n";
  }
  mail_.login = login_;
  const std::string kept = sink_ ? sink_(mail_) : std::string();
  Reset();
  if (kept.empty()) return "451 4.3.0 The message could not be stored\r\n";
  ++accepted_;
  return "250 2.0.0 OK: " + kept + "\r\n";
}

void CSmtpSession::Reset() {
  in_transaction_ = false;
  mail_ = ReceivedMail();
}

}  // namespace larkspin::demo
