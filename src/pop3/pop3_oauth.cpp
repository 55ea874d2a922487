// CPop3Client's sign-in with the account's OAuth access token.
#include "config/oauth_access.h"
#include "config/oauth_settings.h"
#include "config/oauth_token_store.h"
#include "pop3/pop3_client.h"

namespace larkspin {

bool CPop3Client::ConnectWithOAuth(const std::string& host, const std::string& section, int port, CHttpClient& http) {
  const OAuthSettings settings = ReadOAuthSettings(section);
  Pop3TokenLogin login{OAuthLogin(section), {}, settings.mechanism, settings.two_line};
  for (const bool renew : {false, true}) {
    const AccessToken access = AccessTokenOf(section, http, renew);
    if (!access.ok) {
      FailWith("-ERR " + access.problem);
      return false;
    }
    login.token = access.token;
    if (ConnectWithToken(host, login, port) || !TokenRefused()) return IsConnected();
  }
  return false;
}

}  // namespace larkspin
