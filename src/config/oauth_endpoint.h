#pragma once
// The requests of OAuth 2.0 to a provider's token and device endpoints (RFC 6749, RFC 8628), and
// their JSON replies read into values. Tokens are handed back to the caller and never logged.
#include <string>

#include "config/oauth_settings.h"
#include "platform/http_client.h"

namespace larkspin {

inline constexpr unsigned kTokenRequestTimeoutMs = 30000;

enum class TokenOutcome {
  kGranted,       // access_token (and perhaps a new refresh_token) given
  kPending,       // device flow: authorization_pending
  kSlowDown,      // device flow: slow_down
  kExpired,       // device flow: expired_token (or access_denied)
  kSignInAgain,   // invalid_grant: the refresh token was revoked or ran out
  kFailed,        // anything else: problem says what
};

struct TokenReply {
  TokenOutcome outcome = TokenOutcome::kFailed;
  std::string access_token;
  std::string refresh_token;  // empty when the provider kept the old one
  long expires_in = 3600;     // seconds
  std::string problem;        // for the user: the provider's error and its description
};

// The reply of a token endpoint read: a JSON object with access_token, or with error.
TokenReply ReadTokenReply(const HttpReply& reply);

struct DeviceGrant {
  bool started = false;
  std::string device_code;
  std::string user_code;
  std::string verification_uri;
  long interval = 5;     // seconds between polls
  long expires_in = 900; // seconds the code lives
  std::string problem;
};

// The reply of a device authorization endpoint read.
DeviceGrant ReadDeviceGrant(const HttpReply& reply);

// grant_type=refresh_token.
TokenReply RefreshAccessToken(CHttpClient& http, const OAuthSettings& settings, const std::string& refresh_token);
// The device authorization request with the client id and scopes.
DeviceGrant StartDeviceFlow(CHttpClient& http, const OAuthSettings& settings);
// One poll of the token endpoint for the device code.
TokenReply PollDeviceToken(CHttpClient& http, const OAuthSettings& settings, const std::string& device_code);
// grant_type=authorization_code with the PKCE verifier and the redirect URI of the sign-in.
TokenReply RedeemAuthorizationCode(CHttpClient& http, const OAuthSettings& settings, const std::string& code,
                                   const std::string& verifier, const std::string& redirect_uri);

}  // namespace larkspin
