#pragma once
// Where the POP3 password ticked "Remember" is kept, as PasswordStore of section System says:
// scrambled as POP3Password in the account's section of config.ini (File, the default), or in
// the desktop keyring under the account's POP3 host and login (Keyring), with config.ini holding
// no password. A keyring that cannot be used is never replaced by config.ini: each failure is
// written to the log and returned as one line for the user.
#include <string>

namespace larkspin {

// The longest wait for the keyring's service in one step.
inline constexpr unsigned kKeyringTimeoutMs = 10000;

enum class StoredPasswordResult { kFound, kNotStored, kFailed };

struct StoredPassword {
  StoredPasswordResult result = StoredPasswordResult::kNotStored;
  std::string password;  // plain, when kFound
  std::string problem;   // when kFailed: why, already logged
};

// True when PasswordStore=Keyring.
bool PasswordsInKeyring();

// The keyring's password of the section's account for login (the File store is read by the
// credential step itself).
StoredPassword ReadPasswordFromKeyring(const std::string& section, const std::string& login);

// Keeps the typed password: scrambled into config.ini, or into the keyring, after which an old
// POP3Password is removed from config.ini. Empty on success, else the logged problem; a failed
// keyring leaves config.ini as it was.
std::string RememberPassword(const std::string& section, const std::string& login, const std::string& password);

// Removes POP3Password from config.ini and, with the keyring, the keyring's password of login
// (empty: the login stored in config.ini; with neither, nothing is removed from the keyring and
// that is the problem). Empty on success, else the problem.
std::string ForgetPassword(const std::string& section, const std::string& login);

enum class MoveResult { kMoved, kNothingToMove, kFailed };

struct MoveOutcome {
  MoveResult result = MoveResult::kNothingToMove;
  std::string text;  // one line for the user
};

// Moves the account's POP3Password from config.ini into the keyring, under its stored login;
// the file's password is removed only after the keyring confirmed the store.
MoveOutcome MovePasswordToKeyring(int account_number);

}  // namespace larkspin
