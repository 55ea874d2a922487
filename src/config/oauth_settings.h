#pragma once
// An account's OAuth 2.0 settings: POP3Auth=OAuth2 (or SMTP's Authentication=OAuth2Method), the
// provider with its endpoints and scopes (built in for Google and Microsoft, from the account
// section for Custom), the client id and secret (the account's, else [System]'s), and how the
// SASL exchange goes (OAuthMechanism, OAuthTwoLine).
#include <string>

namespace larkspin {

enum class OAuthProvider { kGoogle, kMicrosoft, kCustom, kUnknown };

struct OAuthSettings {
  OAuthProvider provider = OAuthProvider::kUnknown;
  std::string authorize_url;
  std::string token_url;
  std::string device_url;  // empty: the provider has no device flow for mail
  std::string scopes;      // separated by blanks
  std::string client_id;
  std::string client_secret;
  std::string mechanism;   // OAuthMechanism: XOAUTH2, OAUTHBEARER or empty (chosen from CAPA/EHLO)
  bool two_line = false;   // OAuthTwoLine=1: the initial response always on a line of its own

  // Empty when the settings can be used for a sign-in or a refresh, else why not.
  std::string Problem() const;
};

// POP3Auth=OAuth2 in the section (any case).
bool Pop3UsesOAuth(const std::string& section);
// The OAuth settings of the section, read from config.ini.
OAuthSettings ReadOAuthSettings(const std::string& section);

}  // namespace larkspin
