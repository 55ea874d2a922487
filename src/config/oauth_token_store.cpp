#include "config/oauth_token_store.h"

#include <algorithm>

#include "common/format.h"
#include "common/scramble.h"
#include "config/current_account.h"
#include "config/ini_file.h"
#include "config/log.h"
#include "config/working_files.h"
#include "mime/base64.h"
#include "platform/private_profile.h"
#include "platform/secret_store.h"

namespace larkspin {

namespace {
const char* const kTokenKey = "OAuthRefreshToken";

SecretKey KeyOf(const std::string& section) {
  return {CIniFile(kConfigFile).ReadString(section, "POP3Host", "pop3host"), OAuthLogin(section),
          SecretKind::kOAuthRefreshToken};
}

std::string LoggedProblem(const char* step, const SecretKey& key, const std::string& problem) {
  const std::string text =
      FormatText("OAuth refresh token for %s@%s %s: %s", key.login.c_str(), key.host.c_str(), step, problem.c_str());
  LogEvent(text);
  return text;
}

std::string TokenInFile(const std::string& section) {
  const std::string stored = CIniFile(kConfigFile).ReadString(section, kTokenKey, "");
  std::string token = Base64Codec().Decode(stored);
  // Decoding turns the "=" padding into zero bytes, which are dropped; a scrambled byte itself
  // may well be zero.
  const size_t padding = stored.size() - std::min(stored.size(), stored.find_last_not_of('=') + 1);
  token.resize(token.size() - std::min(token.size(), padding));
  UnscrambleText(token);
  return token;
}

bool ClearTokenInFile(const std::string& section) {
  if (CIniFile(kConfigFile).ReadString(section, kTokenKey, "").empty()) return true;
  return RemoveProfileKey(kConfigFile, section, kTokenKey);
}
}  // namespace

std::string OAuthLogin(const std::string& section) {
  const CIniFile config(kConfigFile);
  std::string login = config.ReadString(section, "POP3Account", "");
  UnscrambleText(login);
  return login.empty() ? config.ReadString(section, "MailAddress", "") : login;
}

StoredPassword ReadRefreshToken(const std::string& section) {
  if (!PasswordsInKeyring()) {
    std::string token = TokenInFile(section);
    return {token.empty() ? StoredPasswordResult::kNotStored : StoredPasswordResult::kFound, token, {}};
  }
  const SecretKey key = KeyOf(section);
  const SecretReply reply = LookUpSecret(key, kKeyringTimeoutMs);
  if (reply.result == SecretResult::kDone) return {StoredPasswordResult::kFound, reply.secret, {}};
  if (reply.result == SecretResult::kNotFound) return {StoredPasswordResult::kNotStored, {}, {}};
  return {StoredPasswordResult::kFailed, {}, LoggedProblem("not read from the keyring", key, reply.problem)};
}

std::string RememberRefreshToken(const std::string& section, const std::string& token) {
  if (!PasswordsInKeyring()) {
    if (WriteProfileString(kConfigFile, section, kTokenKey, Base64Codec().Encode(Scrambled(token)))) return {};
    return LoggedProblem("not written", KeyOf(section), "config.ini could not be written");
  }
  const SecretKey key = KeyOf(section);
  const SecretReply reply = StoreSecret(key, token, kKeyringTimeoutMs);
  if (reply.result != SecretResult::kDone)
    return LoggedProblem("not kept in the keyring (config.ini keeps none)", key, reply.problem);
  ClearTokenInFile(section);
  return {};
}

MoveOutcome MoveRefreshTokenToKeyring(int account_number) {
  const std::string section = AccountSection(account_number);
  const std::string account = FormatText("account %d (%s)", account_number, AccountListName(account_number).c_str());
  const std::string token = TokenInFile(section);
  if (token.empty()) return {MoveResult::kNothingToMove, account + ": no refresh token in config.ini"};
  const SecretKey key = KeyOf(section);
  if (key.login.empty())
    return {MoveResult::kFailed, account + ": neither POP3Account nor MailAddress, which the keyring needs; the refresh token stays in config.ini"};
  const SecretReply reply = StoreSecret(key, token, kKeyringTimeoutMs);
  if (reply.result != SecretResult::kDone)
    return {MoveResult::kFailed, account + ": " + LoggedProblem("not moved to the keyring", key, reply.problem)};
  if (!ClearTokenInFile(section))
    return {MoveResult::kFailed, account + ": refresh token stored in the keyring, but config.ini could not be written"};
  return {MoveResult::kMoved, account + ": refresh token moved to the keyring as \"" + SecretLabel(key) + "\""};
}

}  // namespace larkspin
