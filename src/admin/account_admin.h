#pragma once
// The Account menu's administration commands on the selected account: forgetting the stored
// POP3 login or password (the window asks first), and unlocking a mailbox the server still holds locked by logging in
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

enum class StoredCredential { kLogin, kPassword };

// "Login" or "Password", as the boxes that ask name it.
const char* StoredCredentialName(StoredCredential credential);

// Forgets the account's stored login or password, in config.ini and in account's copy; the other
// value is left alone. The password also leaves the keyring (PasswordStore=Keyring). Empty on
// success, else why it failed (a keyring that could not remove it).
std::string ForgetStoredCredential(int account_number, CCurrentAccount& account, StoredCredential credential);

// Logs into the current account's server, sends STAT and QUIT, reporting each step through
// set_status. connected is set while the session stands (and stays set when QUIT fails, so a
// later Disconnect sends QUIT again).
void UnlockAccount(const AccountSelection& selection, CCurrentAccount& account, CPop3Client& client,
                   bool& connected, const std::function<void(const std::string&)>& set_status);

}  // namespace larkspin
