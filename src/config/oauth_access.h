#pragma once
// The access tokens of the accounts that sign in with OAuth, kept in memory only, each with its
// expiry. A token with less than a minute left is renewed from the stored refresh token before it
// is handed out; after a server refused a token the caller asks once more with renew set. A
// refresh token the provider revoked (invalid_grant) asks the user to sign in again, with the
// provider's reason. The calls may run on any thread.
#include <string>

#include "platform/http_client.h"

namespace larkspin {

struct AccessToken {
  bool ok = false;
  std::string token;
  bool sign_in_again = false;  // no refresh token, or a revoked one
  std::string problem;         // when not ok: one line for the user, already logged
};

// The account's access token; renew forces a new one from the refresh token.
AccessToken AccessTokenOf(const std::string& section, CHttpClient& http, bool renew);
// Forgets every access token held in memory.
void ForgetAccessTokens();

}  // namespace larkspin
