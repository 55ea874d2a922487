#pragma once
// The main window's current account: the selected account's settings and its plain
// credentials, with the steps that load settings and resolve the POP3 login and password.
#include <string>

#include "config/account_pipelining.h"
#include "config/account_record.h"
#include "config/input_prompt.h"

namespace larkspin {

// Whether the account selector stands on "All Accounts": then missing credentials are never
// asked for, the account is skipped instead.
enum class PeekScope { kOneAccount, kAllAccounts };

// Results of EnsureCredentials besides 1 (login and password at hand).
inline constexpr int kLoginMissing = -1;
inline constexpr int kPasswordMissing = -2;

class CCurrentAccount {
 public:
  explicit CCurrentAccount(CInputPrompt& prompt) : prompt_(&prompt) {}

  // Reads the section's server and identity settings and creates the account's folders
  // mailbox<N>, mailbox<N>/sent, mailbox<N>/attach and mailbox<N>/drafts in the working
  // directory. Returns 1.
  int LoadCurrentAccount(const std::string& section);
  // Fills record with account number's settings; this resolves and keeps that account's
  // credentials as the current ones. Returns 1.
  int LoadAccountRecord(int account_number, AccountRecord& record, PeekScope scope);
  void ClearCredentials();
  // 1 when a login and a password are at hand (with POP3Auth=OAuth2, the login alone); kLoginMissing / kPasswordMissing in
  // all-accounts mode when one is not stored. With PasswordStore=Keyring the password comes from
  // the keyring; when it cannot be read, credential_problem says why and the password is asked
  // for (the question carries that reason) or, in all-accounts mode, missing.
  int EnsureCredentials(const std::string& section, PeekScope scope);

  int account_number = 0;
  std::string display_name;
  std::string full_name;
  std::string mail_address;
  std::string reply_address;
  std::string smtp_host;
  std::string pop3_host;
  int pop3_port = 110;
  int smtp_port = 25;
  TlsOptions pop3_tls;
  Pipelining pop3_pipelining = Pipelining::kAuto;
  // POP3Auth=OAuth2: the login is OAuthLogin's and the access token stands for the password.
  bool pop3_oauth = false;
  std::string login;
  std::string password;
  bool login_plain = false;
  bool password_plain = false;
  // Set when the password had to be typed since the account was loaded.
  bool folder_gate_mark = false;
  // Why the keyring could not give or keep the password (already logged); empty when it could.
  std::string credential_problem;

 private:
  // One credential (login or password): taken from config.ini or asked for.
  struct CredentialKind {
    const char* key;             // POP3Account or POP3Password
    const char* caption;         // "POP3 Account" or "POP3 Password"
    const char* prompt_key;      // language key of the prompt
    const char* prompt_default;  // its built-in text
    bool password_style;         // also: this is the password, which PasswordStore may keep in the keyring
  };
  enum class Resolution { kAtHand, kTyped, kMissing };
  // Takes the value from memory or config.ini, or asks for it; kMissing in all-accounts mode.
  Resolution ResolveCredential(const std::string& section, const CredentialKind& kind, PeekScope scope,
                               std::string& value, bool& plain);
  Resolution ResolveFromKeyring(const std::string& section, const CredentialKind& kind, PeekScope scope,
                                std::string& value, bool& plain);
  Resolution AskUnlessAllAccounts(const std::string& section, const CredentialKind& kind, PeekScope scope,
                                  std::string& value, bool& plain);
  std::string AskCredential(const std::string& section, const CredentialKind& kind);

  CInputPrompt* prompt_;  // a pointer, so that accounts can be copied and assigned
};

// The account number of a section name "Account<N>".
int AccountNumberOfSection(const std::string& section);
// The section name "Account<N>".
std::string AccountSection(int account_number);
// The account's name in the account list: section "Users", key "Account<N>", or "n/a".
std::string AccountListName(int account_number);
// "Accounts" of section "System".
int ConfiguredAccountCount();

}  // namespace larkspin
