#pragma once
// The Account menu's administration commands on the selected account: forgetting the stored
// POP3 login or password, and unlocking a mailbox the server still holds locked by logging in
// once and quitting cleanly.
#include <functional>
#include <string>

#include "config/current_account.h"
#include "pop3/pop3_client.h"

namespace larkspin {

// The account selector's state the commands act on.
struct AccountSelection {
  int account_number = 1;    // 1-based; the entry after the last account is "All Accounts"
  std::string account_name;  // the selector's text
  bool all_accounts = false;
};

// Both ask first (Yes/No) and refuse in all-accounts mode; the other value is left alone. Reset
// Password also removes the password from the keyring (PasswordStore=Keyring); when the keyring
// fails, the box says why instead of reporting success.
void ResetLogin(const AccountSelection& selection, CCurrentAccount& account);
void ResetPassword(const AccountSelection& selection, CCurrentAccount& account);

// Logs into the current account's server, sends STAT and QUIT, reporting each step through
// set_status. connected is set while the session stands (and stays set when QUIT fails, so a
// later Disconnect sends QUIT again).
void UnlockAccount(const AccountSelection& selection, CCurrentAccount& account, CPop3Client& client,
                   bool& connected, const std::function<void(const std::string&)>& set_status);

}  // namespace larkspin
