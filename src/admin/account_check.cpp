#include "admin/account_check.h"

#include "common/format.h"
#include "common/quoted_server_text.h"
#include "compose/send_mail.h"
#include "config/account_tls.h"
#include "config/current_account.h"
#include "config/working_files.h"
#include "pop3/pop3_client.h"
#include "smtp/smtp_connection.h"

namespace larkspin {

namespace {

TlsOptions TlsOf(int account_number, const char* security_key, TlsMode mode) {
  TlsOptions options = ReadTlsOptions(CIniFile(kConfigFile), AccountSection(account_number), security_key);
  options.mode = mode;
  return options;
}

// A POP3 server refuses with "-ERR ..."; anything else is the connection's own failure.
std::string Pop3Failure(const std::string& reply) {
  const std::string quoted = QuotedServerText(reply);
  return reply.starts_with("-ERR") ? "login refused: " + quoted : quoted;
}

std::string CheckPop3(int account_number, const AccountSettings& settings, unsigned timeout_ms, bool& works) {
  if (settings.login.empty() || settings.password.empty()) return "enter the login and the password first";
  CPop3Client client;
  client.read_timeout_ms = timeout_ms;
  client.tls = TlsOf(account_number, kPop3SecurityKey, settings.pop3_security);
  if (!client.Connect(settings.pop3_host, settings.login, settings.password, settings.pop3_port))
    return Pop3Failure(client.LastReply());
  works = true;
  int count = 0;
  int size = 0;
  const bool counted = client.Statistics(count, size);
  client.Disconnect();
  if (!counted) return "logged in";
  return count == 1 ? std::string("logged in, 1 message") : FormatText("logged in, %d messages", count);
}

std::string CheckSmtp(int account_number, const AccountSettings& settings, unsigned timeout_ms, bool& works) {
  const int method = AuthMethodOfSetting(settings.authentication);
  CSMTPConnection connection;
  connection.SetTimeout(timeout_ms);
  connection.tls = TlsOf(account_number, kSmtpSecurityKey, settings.smtp_security);
  if (!connection.Connect(settings.smtp_host, method, settings.login, settings.password, settings.smtp_port)) {
    const std::string quoted = QuotedServerText(connection.LastReplyText());
    // A reply code means the server answered: it refused the greeting or the login.
    if (connection.LastReplyCode() == 0) return quoted;
    return (method == kAuthNone ? "greeting refused: " : "login refused: ") + quoted;
  }
  works = true;
  connection.Disconnect(true);
  return method == kAuthNone ? "greeted" : "greeted and logged in";
}

}  // namespace

AccountCheck CheckAccount(int account_number, const AccountSettings& settings, unsigned timeout_ms) {
  AccountCheck check;
  const std::string pop3 = CheckPop3(account_number, settings, timeout_ms, check.pop3_works);
  const std::string smtp = settings.smtp_host.empty() ? std::string("no server entered")
                                                      : CheckSmtp(account_number, settings, timeout_ms, check.smtp_works);
  check.line = "POP3: " + pop3 + "; SMTP: " + smtp;
  return check;
}

}  // namespace larkspin
