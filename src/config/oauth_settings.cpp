#include "config/oauth_settings.h"

#include "common/string_tools.h"
#include "config/ini_file.h"
#include "config/working_files.h"

namespace larkspin {

namespace {
const char* const kMicrosoftBase = "https://login.microsoftonline.com/common/oauth2/v2.0/";

OAuthProvider ProviderOf(const std::string& name) {
  if (EqualsIgnoringCase(name, "Google")) return OAuthProvider::kGoogle;
  if (EqualsIgnoringCase(name, "Microsoft")) return OAuthProvider::kMicrosoft;
  if (EqualsIgnoringCase(name, "Custom")) return OAuthProvider::kCustom;
  return OAuthProvider::kUnknown;
}

// The account's value of key, else [System]'s.
std::string AccountOrSystem(const CIniFile& config, const std::string& section, const char* key) {
  const std::string own = config.ReadString(section, key, "");
  return own.empty() ? config.ReadString("System", key, "") : own;
}

void SetEndpoints(OAuthSettings& settings, const CIniFile& config, const std::string& section) {
  switch (settings.provider) {
    case OAuthProvider::kGoogle:
      settings.authorize_url = "https://accounts.google.com/o/oauth2/v2/auth";
      settings.token_url = "https://oauth2.googleapis.com/token";
      settings.scopes = "https://mail.google.com/";
      break;
    case OAuthProvider::kMicrosoft:
      settings.authorize_url = std::string(kMicrosoftBase) + "authorize";
      settings.token_url = std::string(kMicrosoftBase) + "token";
      settings.device_url = std::string(kMicrosoftBase) + "devicecode";
      settings.scopes =
          "https://outlook.office.com/POP.AccessAsUser.All https://outlook.office.com/SMTP.Send offline_access";
      break;
    case OAuthProvider::kCustom:
      settings.authorize_url = config.ReadString(section, "OAuthAuthorizeURL", "");
      settings.token_url = config.ReadString(section, "OAuthTokenURL", "");
      settings.device_url = config.ReadString(section, "OAuthDeviceURL", "");
      settings.scopes = config.ReadString(section, "OAuthScopes", "");
      break;
    case OAuthProvider::kUnknown:
      break;
  }
}
}  // namespace

std::string OAuthSettings::Problem() const {
  if (provider == OAuthProvider::kUnknown) return "OAuthProvider is not one of Google, Microsoft or Custom";
  if (token_url.empty()) return "the account has no OAuthTokenURL";
  if (client_id.empty()) return "no OAuthClientId is set (in the account or in [System])";
  return {};
}

bool Pop3UsesOAuth(const std::string& section) {
  return EqualsIgnoringCase(CIniFile(kConfigFile).ReadString(section, "POP3Auth", "Password"), "OAuth2");
}

OAuthSettings ReadOAuthSettings(const std::string& section) {
  const CIniFile config(kConfigFile);
  OAuthSettings settings;
  settings.provider = ProviderOf(config.ReadString(section, "OAuthProvider", ""));
  SetEndpoints(settings, config, section);
  settings.client_id = AccountOrSystem(config, section, "OAuthClientId");
  settings.client_secret = AccountOrSystem(config, section, "OAuthClientSecret");
  settings.mechanism = config.ReadString(section, "OAuthMechanism", "");
  settings.two_line = config.ReadInt(section, "OAuthTwoLine", 0) == 1;
  return settings;
}

}  // namespace larkspin
