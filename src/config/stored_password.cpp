#include "config/stored_password.h"

#include "common/format.h"
#include "common/scramble.h"
#include "config/current_account.h"
#include "config/ini_file.h"
#include "config/log.h"
#include "config/startup_settings.h"
#include "config/working_files.h"
#include "platform/private_profile.h"
#include "platform/secret_store.h"

namespace larkspin {

namespace {
const char* const kPasswordKey = "POP3Password";

SecretKey KeyOfAccount(const std::string& section, const std::string& login) {
  return {CIniFile(kConfigFile).ReadString(section, "POP3Host", "pop3host"), login};
}

// The user's line for a failed keyring step, written to the log.
std::string LoggedProblem(const char* step, const SecretKey& key, const std::string& problem) {
  const std::string text =
      FormatText("Password for %s@%s %s: %s", key.login.c_str(), key.host.c_str(), step, problem.c_str());
  LogEvent(text);
  return text;
}

std::string StoredLogin(const std::string& section) {
  std::string login = CIniFile(kConfigFile).ReadString(section, "POP3Account", "");
  UnscrambleText(login);
  return login;
}

// Empties POP3Password when it holds a value; a missing key stays missing.
bool ClearPasswordInFile(const std::string& section) {
  if (CIniFile(kConfigFile).ReadString(section, kPasswordKey, "").empty()) return true;
  return WriteProfileString(kConfigFile, section, kPasswordKey, "");
}
}  // namespace

bool PasswordsInKeyring() { return ReadStartupSettings().password_store == PasswordStore::kKeyring; }

StoredPassword ReadPasswordFromKeyring(const std::string& section, const std::string& login) {
  const SecretKey key = KeyOfAccount(section, login);
  const SecretReply reply = LookUpSecret(key, kKeyringTimeoutMs);
  switch (reply.result) {
    case SecretResult::kDone:
      return {StoredPasswordResult::kFound, reply.secret, {}};
    case SecretResult::kNotFound:
      return {StoredPasswordResult::kNotStored, {}, {}};
    case SecretResult::kFailed:
      break;
  }
  return {StoredPasswordResult::kFailed, {}, LoggedProblem("not read from the keyring", key, reply.problem)};
}

std::string RememberPassword(const std::string& section, const std::string& login, const std::string& password) {
  if (!PasswordsInKeyring()) {
    WriteProfileString(kConfigFile, section, kPasswordKey, Scrambled(password));
    return {};
  }
  const SecretKey key = KeyOfAccount(section, login);
  const SecretReply reply = StoreSecret(key, password, kKeyringTimeoutMs);
  if (reply.result != SecretResult::kDone)
    return LoggedProblem("not remembered in the keyring (config.ini keeps none)", key, reply.problem);
  ClearPasswordInFile(section);
  return {};
}

std::string ForgetPassword(const std::string& section, const std::string& login) {
  if (!ClearPasswordInFile(section)) return "The password could not be removed from config.ini.";
  if (!PasswordsInKeyring()) return {};
  const SecretKey key = KeyOfAccount(section, login.empty() ? StoredLogin(section) : login);
  // The keyring finds a password by host and login: without a login nothing can be named.
  if (key.login.empty()) return LoggedProblem("not removed from the keyring", key, "no login is known for it");
  const SecretReply reply = RemoveSecret(key, kKeyringTimeoutMs);
  return reply.result == SecretResult::kDone ? std::string() : LoggedProblem("not removed from the keyring", key, reply.problem);
}

MoveOutcome MovePasswordToKeyring(int account_number) {
  const std::string section = AccountSection(account_number);
  const CIniFile config(kConfigFile);
  const std::string account = FormatText("account %d (%s)", account_number, AccountListName(account_number).c_str());
  std::string password = config.ReadString(section, kPasswordKey, "");
  if (password.empty()) return {MoveResult::kNothingToMove, account + ": no password in config.ini"};
  const std::string login = StoredLogin(section);
  if (login.empty())
    return {MoveResult::kFailed, account + ": no stored login, which the keyring needs; the password stays in config.ini"};
  UnscrambleText(password);
  const SecretKey key = KeyOfAccount(section, login);
  const SecretReply reply = StoreSecret(key, password, kKeyringTimeoutMs);
  if (reply.result != SecretResult::kDone)
    return {MoveResult::kFailed, account + ": " + LoggedProblem("not moved to the keyring", key, reply.problem)};
  if (!ClearPasswordInFile(section))
    return {MoveResult::kFailed, account + ": stored in the keyring, but config.ini could not be written"};
  return {MoveResult::kMoved, account + ": moved to the keyring as \"" + SecretLabel(key) + "\""};
}

}  // namespace larkspin
