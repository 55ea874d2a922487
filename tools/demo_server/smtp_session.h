#pragma once
// One SMTP conversation of the demo server (RFC 5321): HELO or EHLO, optional authentication of
// the demo credentials with AUTH LOGIN, AUTH PLAIN, AUTH CRAM-MD5 or the plain-text variant
// "AUTH LOGIN PLAIN" (literal "Username:" and "Password:" prompts answered with the plain
// values), then mail transactions (MAIL, RCPT, DATA with dot-unstuffing), RSET, NOOP and QUIT.
// Each message accepted is handed to the sink.
#include <functional>
#include <string>
#include <vector>

#include "demo_server/line_connection.h"

namespace larkspin::demo {

struct DemoCredentials {
  std::string login;
  std::string password;
};

struct ReceivedMail {
  std::string login;  // the authenticated login, empty without authentication
  std::string from;
  std::vector<std::string> recipients;
  std::string data;  // the message as received, dot-unstuffed, lines ending in CRLF
};

// Keeps one message; returns a short text for the 250 reply, or empty when it could not be kept.
using MailSink = std::function<std::string(const ReceivedMail&)>;

class CSmtpSession {
 public:
  // Largest message kept; a larger one is read to its end and refused.
  static constexpr size_t kMaxMessageBytes = size_t{64} << 20;

  CSmtpSession(const DemoCredentials& credentials, CLineConnection& connection, MailSink sink)
      : credentials_(credentials), connection_(connection), sink_(std::move(sink)) {}

  // Converses until QUIT or until the client leaves.
  void Run();

  // For the server's console, once Run has returned.
  const std::string& Login() const { return login_; }
  size_t MessagesAccepted() const { return accepted_; }

 private:
  std::string Answer(const std::string& line);
  std::string Greet(const std::string& verb, const std::string& argument);
  std::string Authenticate(const std::string& argument);
  std::string AuthLogin(const std::string& initial_response);
  std::string AuthLoginPlain();
  std::string AuthPlain(const std::string& initial_response);
  std::string AuthCramMd5();
  std::string Mail(const std::string& argument);
  std::string Recipient(const std::string& argument);
  std::string Data();
  void Reset();
  // Sends a prompt and reads the client's answer; false when the client left or sent "*".
  bool Ask(const std::string& prompt, std::string& answer);
  std::string Verdict(const std::string& login, bool valid);

  const DemoCredentials& credentials_;
  CLineConnection& connection_;
  MailSink sink_;
  bool greeted_ = false;
  bool quitting_ = false;
  bool left_ = false;
  std::string login_;
  bool in_transaction_ = false;
  ReceivedMail mail_;
  size_t accepted_ = 0;
};

// The address between "<" and ">" of a MAIL FROM or RCPT TO argument ("FROM:<a@b> SIZE=1");
// false when the argument does not start with the keyword and a colon.
bool PathOfArgument(const std::string& argument, const std::string& keyword, std::string& path);

}  // namespace larkspin::demo
