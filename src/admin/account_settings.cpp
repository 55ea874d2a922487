#include "admin/account_settings.h"

#include <functional>
#include <vector>

#include "common/scramble.h"
#include "config/account_tls.h"
#include "config/current_account.h"
#include "config/ini_file.h"
#include "config/oauth_settings.h"
#include "config/stored_password.h"
#include "config/working_files.h"
#include "platform/private_profile.h"

namespace larkspin {

namespace {
constexpr const char* kUsersSection = "Users";
constexpr int kLargestPort = 65535;
constexpr const char* kWriteFailed = "config.ini could not be written.";

std::string StoredPlain(const CIniFile& config, const std::string& section, const char* key) {
  std::string value = config.ReadString(section, key, "");
  UnscrambleText(value);
  return value;
}

std::string RememberedPassword(const CIniFile& config, const std::string& section, const std::string& login) {
  if (!PasswordsInKeyring()) return StoredPlain(config, section, "POP3Password");
  if (login.empty()) return {};
  return ReadPasswordFromKeyring(section, login).password;
}

// One key of the account's section and its text in the settings. A new account gets no key whose
// text is its unset one (what the key means when it is missing).
struct SettingKey {
  const char* key;
  std::function<std::string(const AccountSettings&)> value;
  const char* unset = nullptr;
};

const std::vector<SettingKey>& SettingKeys() {
  static const std::vector<SettingKey> keys = {
      {"FullName", [](const AccountSettings& s) { return s.full_name; }},
      {"MailAddress", [](const AccountSettings& s) { return s.mail_address; }},
      {"POP3Host", [](const AccountSettings& s) { return s.pop3_host; }},
      {"POP3Port", [](const AccountSettings& s) { return std::to_string(s.pop3_port); }},
      {kPop3SecurityKey, [](const AccountSettings& s) { return std::string(TlsModeSetting(s.pop3_security)); }},
      {"POP3Account", [](const AccountSettings& s) { return Scrambled(s.login); }},
      {"SMTPHost", [](const AccountSettings& s) { return s.smtp_host; }},
      {"SMTPPort", [](const AccountSettings& s) { return std::to_string(s.smtp_port); }},
      {kSmtpSecurityKey, [](const AccountSettings& s) { return std::string(TlsModeSetting(s.smtp_security)); }},
      {"Authentication", [](const AccountSettings& s) { return s.authentication; }},
      {"POP3Auth", [](const AccountSettings& s) { return std::string(s.pop3_oauth ? "OAuth2" : "Password"); }, "Password"},
      {"OAuthProvider", [](const AccountSettings& s) { return s.oauth_provider; }, ""},
      {"OAuthClientId", [](const AccountSettings& s) { return s.oauth_client_id; }, ""},
      {"OAuthClientSecret", [](const AccountSettings& s) { return s.oauth_client_secret; }, ""},
      {"OAuthAuthorizeURL", [](const AccountSettings& s) { return s.oauth_authorize_url; }, ""},
      {"OAuthTokenURL", [](const AccountSettings& s) { return s.oauth_token_url; }, ""},
      {"OAuthDeviceURL", [](const AccountSettings& s) { return s.oauth_device_url; }, ""},
      {"OAuthScopes", [](const AccountSettings& s) { return s.oauth_scopes; }, ""},
  };
  return keys;
}

bool WriteConfig(const std::string& section, const std::string& key, const std::string& value) {
  return WriteProfileString(kConfigFile, section, key, value);
}

// A reply address that was the mail address (or none) moves with it; one of its own stays.
bool ReplyAddressFollows(const std::string& section, const AccountSettings& before, bool adding) {
  const std::string reply = CIniFile(kConfigFile).ReadString(section, "ReplyAddress", "");
  return adding || reply.empty() || reply == before.mail_address;
}

std::string SavePassword(const std::string& section, const AccountSettings& settings, const AccountSettings& before,
                         bool adding) {
  if (!settings.remember) return before.remember ? ForgetPassword(section, before.login) : std::string();
  const bool changed = adding || !before.remember || settings.password != before.password ||
                       settings.login != before.login || settings.pop3_host != before.pop3_host;
  return changed ? RememberPassword(section, settings.login, settings.password) : std::string();
}
}  // namespace

AccountSettings ReadAccountSettings(int account_number) {
  const CIniFile config(kConfigFile);
  const std::string section = AccountSection(account_number);
  AccountSettings settings;
  settings.name = config.ReadString(kUsersSection, section, "");
  settings.full_name = config.ReadString(section, "FullName", "");
  settings.mail_address = config.ReadString(section, "MailAddress", "");
  settings.pop3_host = config.ReadString(section, "POP3Host", "");
  settings.pop3_port = config.ReadInt(section, "POP3Port", settings.pop3_port);
  settings.pop3_security = ReadTlsOptions(config, section, kPop3SecurityKey).mode;
  settings.login = StoredPlain(config, section, "POP3Account");
  settings.password = RememberedPassword(config, section, settings.login);
  settings.remember = !settings.password.empty();
  settings.smtp_host = config.ReadString(section, "SMTPHost", "");
  settings.smtp_port = config.ReadInt(section, "SMTPPort", settings.smtp_port);
  settings.smtp_security = ReadTlsOptions(config, section, kSmtpSecurityKey).mode;
  settings.authentication = config.ReadString(section, "Authentication", settings.authentication);
  settings.pop3_oauth = Pop3UsesOAuth(section);
  settings.oauth_provider = config.ReadString(section, "OAuthProvider", "");
  settings.oauth_client_id = config.ReadString(section, "OAuthClientId", "");
  settings.oauth_client_secret = config.ReadString(section, "OAuthClientSecret", "");
  settings.oauth_authorize_url = config.ReadString(section, "OAuthAuthorizeURL", "");
  settings.oauth_token_url = config.ReadString(section, "OAuthTokenURL", "");
  settings.oauth_device_url = config.ReadString(section, "OAuthDeviceURL", "");
  settings.oauth_scopes = config.ReadString(section, "OAuthScopes", "");
  return settings;
}

bool AccountSettings::UsesOAuth() const { return pop3_oauth || authentication == "OAuth2Method"; }

std::string InvalidAccountSettings(const AccountSettings& settings) {
  if (settings.name.empty()) return "Enter a name for the account.";
  if (settings.pop3_host.empty()) return "Enter the POP3 server.";
  if (settings.pop3_port < 1 || settings.pop3_port > kLargestPort) return "The POP3 port must be 1 to 65535.";
  if (settings.smtp_port < 1 || settings.smtp_port > kLargestPort) return "The SMTP port must be 1 to 65535.";
  return {};
}

std::string SaveAccountSettings(int account_number, const AccountSettings& settings, const AccountSettings& before) {
  const std::string section = AccountSection(account_number);
  const bool adding = account_number > ConfiguredAccountCount();
  if (adding && !WriteConfig("System", "Accounts", std::to_string(account_number))) return kWriteFailed;
  if ((adding || settings.name != before.name) && !WriteConfig(kUsersSection, section, settings.name))
    return kWriteFailed;
  const bool reply_follows = ReplyAddressFollows(section, before, adding);
  for (const SettingKey& key : SettingKeys()) {
    const std::string value = key.value(settings);
    const bool wanted = adding ? !key.unset || value != key.unset : value != key.value(before);
    if (wanted && !WriteConfig(section, key.key, value)) return kWriteFailed;
  }
  if (reply_follows && (adding || settings.mail_address != before.mail_address) &&
      !WriteConfig(section, "ReplyAddress", settings.mail_address))
    return kWriteFailed;
  return SavePassword(section, settings, before, adding);
}

std::string RemoveLastAccount() {
  const int count = ConfiguredAccountCount();
  if (count < 1) return "There is no account to remove.";
  const std::string section = AccountSection(count);
  const AccountSettings last = ReadAccountSettings(count);
  const std::string password_problem = last.remember ? ForgetPassword(section, last.login) : std::string();
  if (!RemoveProfileSection(kConfigFile, section) || !RemoveProfileKey(kConfigFile, kUsersSection, section) ||
      !WriteConfig("System", "Accounts", std::to_string(count - 1)))
    return kWriteFailed;
  return password_problem;
}

}  // namespace larkspin
