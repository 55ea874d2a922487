#pragma once
// A local OAuth 2.0 provider for end-to-end tests, served by FakeHttpServer:
//   GET  /authorize  consents at once: 302 to redirect_uri with a code and the state;
//   POST /token      authorization_code (the PKCE verifier checked against the S256 challenge and
//                    the redirect URI against the authorization's), refresh_token and the device
//                    code (pending at the first poll, granted at the next);
//   POST /device     a device code for the device flow.
// Access tokens are HS256 JWTs {"sub": user, "exp": ...} signed with the shared secret, so a
// Dovecot whose oauth2 passdb holds the same secret accepts them until they run out. A revoked
// refresh token is answered invalid_grant with a description.
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "support/fake_http_server.h"

namespace larkspin::test_support {

inline constexpr char kRevokedDescription[] = "Token has been expired or revoked.";

class AuthorizationServer {
 public:
  AuthorizationServer(std::string user, std::string secret);

  // "http://127.0.0.1:PORT" + path.
  std::string Url(const std::string& path) const { return http_.Url(path); }
  // Access tokens from now on run out after real_seconds (their exp), while the token reply
  // says told_seconds (expires_in).
  void SetAccessLifetime(long real_seconds, long told_seconds);
  // A refresh token as if the user had signed in before.
  std::string GrantRefreshToken();
  // Every refresh token given so far is refused from now on.
  void RevokeRefreshTokens();
  // Every access and refresh token given so far.
  std::vector<std::string> IssuedTokens() const;
  int AccessTokenCount() const;

 private:
  HttpAnswer Answer(const HttpExchange& exchange);
  HttpAnswer Authorize(const std::map<std::string, std::string>& query);
  HttpAnswer Token(const std::map<std::string, std::string>& form);
  HttpAnswer Granted(bool with_refresh_token);
  std::string NewRefreshToken();
  std::string AccessToken();

  const std::string user_;
  const std::string secret_;
  mutable std::mutex mutex_;
  long real_lifetime_ = 3600;
  long told_lifetime_ = 3600;
  int serial_ = 0;
  struct Authorization {
    std::string challenge;
    std::string redirect_uri;
  };
  std::map<std::string, Authorization> codes_;
  std::set<std::string> refresh_tokens_;
  std::vector<std::string> issued_;
  int access_tokens_ = 0;
  int device_polls_ = 0;
  FakeHttpServer http_;  // last: its thread answers with the members above
};

}  // namespace larkspin::test_support
