#pragma once
// The SMTP client: one blocking conversation with one server. Connect reads the greeting, greets
// with HELO (no authentication) or EHLO and authenticates with AUTH CRAM-MD5, AUTH LOGIN or the
// plain-text AUTH LOGIN PLAIN variant; SendMessage transmits one CSMTPMail in one transaction;
// Disconnect says QUIT. Every step returns true on success. The text and code of the last reply
// stay readable for the caller, and each failure also passes a diagnostic text to
// ReportDiagnostic, which does nothing unless overridden.
//
// Calling order for one message: Connect, SendMessage, Disconnect(true). A failed Connect has
// already disconnected; a SendMessage refused by the server leaves the connection open, and the
// next Connect starts over on a new socket. A time-out, a connection cut by the server, a reply
// over 64 KiB or a failed send closes the connection at once (IsConnected() false) with reply
// code 0, so a late reply is never read as the answer to a later command.
#include <string>
#include <string_view>

#include "platform/reply_buffer.h"
#include "platform/socket_link.h"

namespace larkspin {

class CSMTPMail;
class CSMTPPart;
class CSMTPRecipient;

// Authentication method codes as Connect receives them.
// With kAuthOAuth2 the password is an OAuth 2.0 access token.
enum SmtpAuthMethod : int { kAuthNone = 0, kAuthCramMd5 = 1, kAuthLogin = 2, kAuthLoginPlain = 3, kAuthOAuth2 = 4 };

class CSMTPConnection {
 public:
  CSMTPConnection() = default;
  CSMTPConnection(const CSMTPConnection&) = delete;
  CSMTPConnection& operator=(const CSMTPConnection&) = delete;
  // Says QUIT when still connected.
  virtual ~CSMTPConnection();

  // Connects to host and port (bound to local_address first when it is not empty), reads the
  // greeting, greets and authenticates with method. On failure the reply that failed stays the
  // last reply, and the connection has said QUIT and closed.
  bool Connect(const std::string& host, int method, const std::string& user, const std::string& password, int port,
               const std::string& local_address = "");
  bool SendMessage(const CSMTPMail& message);
  // With send_quit: QUIT and its 221 reply. The socket is closed in every case.
  bool Disconnect(bool send_quit);

  const std::string& LastReplyText() const { return last_response_; }
  int LastReplyCode() const { return last_response_code_; }
  void SetTimeout(unsigned milliseconds) { timeout_ms_ = milliseconds; }
  // The name HELO and EHLO give; "auto" (the default) stands for the local host name.
  void SetHeloName(std::string name) { helo_name_ = std::move(name); }
  const std::string& HeloName() const { return helo_name_; }
  bool IsConnected() const { return connected_; }

  // Whether and how the connection is encrypted (SMTPS or STARTTLS); plain by default.
  TlsOptions tls;
  // For kAuthOAuth2: the mechanism forced (XOAUTH2 or OAUTHBEARER, any case; another name fails
  // Connect before anything is sent; empty: OAUTHBEARER only when EHLO's AUTH names it and not
  // XOAUTH2), and the initial response always after the server's 334.
  std::string oauth_mechanism;
  bool oauth_two_line = false;
  // The last Connect with kAuthOAuth2 failed because the server refused the token.
  bool TokenRefused() const { return token_refused_; }

 protected:
  virtual void ReportDiagnostic(const std::string& text);

 private:
  // Reads one reply with a buffer of its own. True when a line of it carries expected_code.
  bool ReadCommandReply(int expected_code, bool ehlo);
  // Reads until the text ends with terminator (and, for an EHLO reply, holds "250 "), growing
  // buffer by growth_step when a receive fills it. Any line may carry the expected code; the last
  // reply then holds the text from that line on.
  bool ReadResponse(CReplyBuffer& buffer, std::string_view terminator, int expected_code, size_t growth_step,
                    bool ehlo);
  bool ConnectSMTP();
  bool SendEhlo();
  bool StartTls(const std::string& host, int port);
  bool UpgradeToTls(const std::string& host, int port);
  bool ConnectESMTP(const std::string& user, const std::string& password, int method);
  bool AuthLogin(const std::string& user, const std::string& password);
  bool AuthLoginPlain(const std::string& user, const std::string& password);
  bool CramLogin(const std::string& user, const std::string& password);
  // AUTH XOAUTH2 or OAUTHBEARER; the initial response inline while the command stays within 255
  // octets. An error challenge (334 with the base64 status) is answered as the mechanism asks.
  bool OAuthLogin(const std::string& user, const std::string& token, const std::string& ehlo_reply);
  bool RefuseToken(const std::string& mechanism);
  bool SendRCPTForRecipient(const CSMTPRecipient& recipient);
  bool SendBodyPart(const CSMTPPart& part, bool root);
  bool SendRecipients(const CSMTPMail& message);
  // Sends one command line; a line break inside it (from a value the user typed) is refused
  // before anything is sent.
  bool SendCommand(const std::string& line);
  bool SendData(const std::string& data);
  // Sends data and reports diagnostic_format filled with the system error code when that fails.
  bool SendReported(const std::string& data, const char* diagnostic_format);
  // The last reply without its code and blank: the server's prompt in an AUTH exchange.
  std::string Prompt() const;
  // Reports text; returns false.
  bool Report(const std::string& text);
  // Sets the last error and reports text; returns false.
  bool Fail(int error_code, const std::string& text);
  // Disconnect with QUIT after a failed Connect, keeping the reply that made it fail.
  void DisconnectKeepingReply();
  // A failure without a reply (socket, refused line, no answer): the last reply text describes
  // it, and its code is 0.
  void DescribeLocalFailure(const std::string& description);
  // Closes the connection after its replies lost their boundaries (a time-out, a cut, an
  // over-long reply, a failed send), so nothing later is read from it; returns false.
  bool LoseConnection(const std::string& description);
  void ResolveAutoHeloName();

  CSocketLink socket_;
  bool connected_ = false;
  std::string last_response_;
  std::string helo_name_ = "auto";
  unsigned timeout_ms_ = 60000;
  int last_response_code_ = 0;
  int system_error_ = 0;
  bool token_refused_ = false;  // of the last failed send, for the diagnostic texts
};

}  // namespace larkspin
