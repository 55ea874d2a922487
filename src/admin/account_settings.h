#pragma once
// One account of config.ini as the account dialog edits it: read with its stored login and
// password, written back key by key through the INI engine (every other key and comment of the
// file keeps its bytes), added as the next number, and removed only as the last one: accounts
// are numbered and each owns its mailbox<N> folder, so removing one in the middle would hand
// its mail to the next.
#include <string>

#include "platform/tls_channel.h"

namespace larkspin {

// The SMTP authentication settings the program knows, in the order the dialog lists them.
inline constexpr const char* kAuthenticationSettings[] = {"NoLoginMethod", "AuthLoginMethod", "LoginPlainMethod",
                                                          "CramMD5Method", "OAuth2Method"};
// The OAuth providers, in the order the dialog lists them.
inline constexpr const char* kOAuthProviderSettings[] = {"Google", "Microsoft", "Custom"};

struct AccountSettings {
  std::string name;          // [Users] Account<N>
  std::string full_name;     // FullName
  std::string mail_address;  // MailAddress
  std::string pop3_host;     // POP3Host
  int pop3_port = 110;       // POP3Port
  TlsMode pop3_security = TlsMode::kNone;  // POP3Security
  std::string login;         // POP3Account, plain
  std::string password;      // plain; kept only when remember is set
  bool remember = false;     // the password is kept (POP3Password, or the keyring)
  std::string smtp_host;     // SMTPHost
  int smtp_port = 25;        // SMTPPort
  TlsMode smtp_security = TlsMode::kNone;  // SMTPSecurity
  std::string authentication = "NoLoginMethod";  // Authentication
  bool pop3_oauth = false;                 // POP3Auth: OAuth2, else Password
  std::string oauth_provider;              // OAuthProvider
  std::string oauth_client_id;             // OAuthClientId, the account's own
  std::string oauth_client_secret;         // OAuthClientSecret, the account's own
  std::string oauth_authorize_url;         // OAuthAuthorizeURL (Custom)
  std::string oauth_token_url;             // OAuthTokenURL (Custom)
  std::string oauth_device_url;            // OAuthDeviceURL (Custom)
  std::string oauth_scopes;                // OAuthScopes (Custom)

  // POP3 or SMTP signs in with OAuth.
  bool UsesOAuth() const;

  bool operator==(const AccountSettings&) const = default;
};

// Account number's settings as config.ini holds them; a key that is missing reads empty (or as
// the program's default port and modes), so a Save without changes writes nothing.
AccountSettings ReadAccountSettings(int account_number);

// Why settings cannot be saved, in one line; empty when they can.
std::string InvalidAccountSettings(const AccountSettings& settings);

// Writes the keys whose values differ from before (all of them for the account after the last,
// which raises [System] Accounts to account_number, leaving out OAuth keys it does not use). ReplyAddress follows MailAddress while it
// was the same or missing. The password is remembered or forgotten as remember says. Empty on
// success, else the problem in one line.
std::string SaveAccountSettings(int account_number, const AccountSettings& settings, const AccountSettings& before);

// Removes the last account: its section, its name and its password (also from the keyring), and
// lowers [System] Accounts. Its mailbox folder and the mail in it stay. Empty on success, else
// the problem in one line; a keyring that kept the password does not keep the account.
std::string RemoveLastAccount();

}  // namespace larkspin
