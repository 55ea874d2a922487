#pragma once
// The account dialog's Test: logs in to the POP3 server (and counts the messages) and greets the
// SMTP server as sending does (EHLO and the login when an authentication method is set, HELO
// otherwise), then says in one line what worked and, for what did not, why: the connection
// failure, the certificate's fault or the server's refusal, quoted. An account that signs in with
// OAuth (POP3Auth=OAuth2, Authentication=OAuth2Method) does so with the saved account's token and
// OAuth settings, the refresh token asked for a fresh access token first; without a usable one
// the line says so (sign in first) and that server is not contacted.
#include <string>

#include "admin/account_settings.h"

namespace larkspin {

struct AccountCheck {
  bool pop3_works = false;
  bool smtp_works = false;
  std::string line;  // "POP3: ...; SMTP: ..."
};

// Runs both checks with settings, each reply awaited at most timeout_ms. TLSVerify and
// TLSCAFile come from account_number's section of config.ini (their defaults for a new account).
AccountCheck CheckAccount(int account_number, const AccountSettings& settings, unsigned timeout_ms);

}  // namespace larkspin
