#include "admin/account_check.h"

#include "common/format.h"
#include "common/quoted_server_text.h"
#include "compose/send_mail.h"
#include "config/account_tls.h"
#include "config/current_account.h"
#include "config/oauth_access.h"
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

// Why the account has no access token (renew: a fresh one from the stored refresh token), so the
// server is not asked; empty when it has one.
std::string NoAccessToken(int account_number, bool renew) {
  CHttpClient http;
  const AccessToken access = AccessTokenOf(AccountSection(account_number), http, renew);
  return access.ok ? std::string() : "not signed in: " + access.problem;
}

bool LogIn(CPop3Client& client, int account_number, const AccountSettings& settings, std::string& problem) {
  if (settings.pop3_oauth) {
    problem = NoAccessToken(account_number, true);
    if (!problem.empty()) return false;
  }
  CHttpClient http;
  if (settings.pop3_oauth
          ? client.ConnectWithOAuth(settings.pop3_host, AccountSection(account_number), settings.pop3_port, http)
          : client.Connect(settings.pop3_host, settings.login, settings.password, settings.pop3_port))
    return true;
  problem = Pop3Failure(client.LastReply());
  return false;
}

std::string CheckPop3(int account_number, const AccountSettings& settings, unsigned timeout_ms, bool& works) {
  if (!settings.pop3_oauth && (settings.login.empty() || settings.password.empty()))
    return "enter the login and the password first";
  CPop3Client client;
  client.read_timeout_ms = timeout_ms;
  client.tls = TlsOf(account_number, kPop3SecurityKey, settings.pop3_security);
  std::string problem;
  if (!LogIn(client, account_number, settings, problem)) return problem;
  works = true;
  const std::string logged_in = settings.pop3_oauth ? "signed in with the stored token" : "logged in";
  int count = 0;
  int size = 0;
  const bool counted = client.Statistics(count, size);
  client.Disconnect();
  if (!counted) return logged_in;
  return logged_in + (count == 1 ? std::string(", 1 message") : FormatText(", %d messages", count));
}

// The SMTP server's answer, or the connection's failure, in one line.
std::string SmtpFailure(const CSMTPConnection& connection, int method, const std::string& reason) {
  const std::string quoted = QuotedServerText(reason);
  // A reply code means the server answered: it refused the greeting or the login.
  if (connection.LastReplyCode() == 0) return quoted;
  return (method == kAuthNone ? "greeting refused: " : "login refused: ") + quoted;
}

std::string CheckSmtp(int account_number, const AccountSettings& settings, unsigned timeout_ms, bool& works) {
  const int method = AuthMethodOfSetting(settings.authentication);
  CSMTPConnection connection;
  connection.SetTimeout(timeout_ms);
  connection.tls = TlsOf(account_number, kSmtpSecurityKey, settings.smtp_security);
  if (method == kAuthOAuth2)
    if (const std::string problem = NoAccessToken(account_number, false); !problem.empty()) return problem;
  const SmtpLogin login{AccountSection(account_number), settings.smtp_host, settings.smtp_port, method, settings.login,
                        settings.password};
  std::string reason;
  if (!ConnectAndLogIn(connection, login, reason)) return SmtpFailure(connection, method, reason);
  works = true;
  connection.Disconnect(true);
  if (method == kAuthOAuth2) return "greeted and signed in with the stored token";
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
