#include "support/authorization_server.h"

#include <openssl/hmac.h>
#include <openssl/sha.h>

#include <ctime>

#include "mime/base64.h"
#include "platform/http_client.h"

namespace larkspin::test_support {

namespace {
std::string Base64Url(std::string_view bytes) {
  std::string text = Base64Codec().Encode(bytes);
  while (!text.empty() && text.back() == '=') text.pop_back();
  for (char& c : text) c = c == '+' ? '-' : c == '/' ? '_' : c;
  return text;
}

std::string Sha256(std::string_view text) {
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256(reinterpret_cast<const unsigned char*>(text.data()), text.size(), digest);
  return std::string(reinterpret_cast<char*>(digest), sizeof digest);
}

std::string HmacSha256(const std::string& key, std::string_view text) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned length = 0;
  HMAC(EVP_sha256(), key.data(), static_cast<int>(key.size()), reinterpret_cast<const unsigned char*>(text.data()),
       text.size(), digest, &length);
  return std::string(reinterpret_cast<char*>(digest), length);
}

HttpAnswer Refused(const std::string& error, const std::string& description) {
  return {400, R"({"error":")" + error + R"(","error_description":")" + description + "\"}"};
}

std::string Field(const std::map<std::string, std::string>& fields, const char* key) {
  const auto found = fields.find(key);
  return found == fields.end() ? "" : found->second;
}
}  // namespace

AuthorizationServer::AuthorizationServer(std::string user, std::string secret)
    : user_(std::move(user)), secret_(std::move(secret)), http_([this](const HttpExchange& e) { return Answer(e); }) {}

void AuthorizationServer::SetAccessLifetime(long real_seconds, long told_seconds) {
  std::lock_guard<std::mutex> lock(mutex_);
  real_lifetime_ = real_seconds;
  told_lifetime_ = told_seconds;
}

std::string AuthorizationServer::GrantRefreshToken() {
  std::lock_guard<std::mutex> lock(mutex_);
  return NewRefreshToken();
}

void AuthorizationServer::RevokeRefreshTokens() {
  std::lock_guard<std::mutex> lock(mutex_);
  refresh_tokens_.clear();
}

std::vector<std::string> AuthorizationServer::IssuedTokens() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return issued_;
}

int AuthorizationServer::AccessTokenCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return access_tokens_;
}

HttpAnswer AuthorizationServer::Answer(const HttpExchange& exchange) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (exchange.method == "GET" && exchange.path == "/authorize") return Authorize(exchange.form);
  if (exchange.method == "POST" && exchange.path == "/token") return Token(exchange.form);
  if (exchange.method == "POST" && exchange.path == "/device")
    return {200, R"({"device_code":"device-1","user_code":"WDJB-MJHT","verification_uri":")" + Url("/activate") +
                     R"(","interval":1,"expires_in":60})"};
  return {404, "{}"};
}

HttpAnswer AuthorizationServer::Authorize(const std::map<std::string, std::string>& query) {
  const std::string redirect_uri = Field(query, "redirect_uri");
  if (Field(query, "response_type") != "code" || Field(query, "code_challenge_method") != "S256" ||
      !redirect_uri.starts_with("http://127.0.0.1:"))
    return {400, R"({"error":"invalid_request"})"};
  const std::string code = "code-" + std::to_string(++serial_);
  codes_[code] = {Field(query, "code_challenge"), redirect_uri};
  return {302, "", redirect_uri + "?" + FormEncoded({{"code", code}, {"state", Field(query, "state")}})};
}

HttpAnswer AuthorizationServer::Token(const std::map<std::string, std::string>& form) {
  const std::string grant = Field(form, "grant_type");
  if (grant == "authorization_code") {
    const auto authorization = codes_.find(Field(form, "code"));
    if (authorization == codes_.end()) return Refused("invalid_grant", "unknown code");
    const Authorization expected = authorization->second;
    codes_.erase(authorization);  // a code is good for one exchange
    if (Base64Url(Sha256(Field(form, "code_verifier"))) != expected.challenge)
      return Refused("invalid_grant", "the PKCE verifier does not match the challenge");
    if (Field(form, "redirect_uri") != expected.redirect_uri) return Refused("invalid_grant", "redirect_uri differs");
    return Granted(true);
  }
  if (grant == "refresh_token")
    return refresh_tokens_.count(Field(form, "refresh_token")) ? Granted(false)
                                                              : Refused("invalid_grant", kRevokedDescription);
  if (grant == "urn:ietf:params:oauth:grant-type:device_code") {
    if (Field(form, "device_code") != "device-1") return Refused("invalid_grant", "unknown device code");
    return ++device_polls_ < 2 ? Refused("authorization_pending", "waiting for the user") : Granted(true);
  }
  return Refused("unsupported_grant_type", grant);
}

HttpAnswer AuthorizationServer::Granted(bool with_refresh_token) {
  std::string body = R"({"token_type":"Bearer","access_token":")" + AccessToken() +
                     R"(","expires_in":)" + std::to_string(told_lifetime_);
  if (with_refresh_token) body += R"(,"refresh_token":")" + NewRefreshToken() + "\"";
  return {200, body + "}"};
}

std::string AuthorizationServer::NewRefreshToken() {
  const std::string token = "refresh-token-" + std::to_string(++serial_);
  refresh_tokens_.insert(token);
  issued_.push_back(token);
  return token;
}

std::string AuthorizationServer::AccessToken() {
  const long now = static_cast<long>(std::time(nullptr));
  // jti tells apart tokens given within the same second.
  const std::string claims = R"({"sub":")" + user_ + R"(","iat":)" + std::to_string(now) + R"(,"exp":)" +
                             std::to_string(now + real_lifetime_) + R"(,"jti":")" + std::to_string(++serial_) + "\"}";
  const std::string signed_part = Base64Url(R"({"alg":"HS256","typ":"JWT"})") + "." + Base64Url(claims);
  const std::string token = signed_part + "." + Base64Url(HmacSha256(secret_, signed_part));
  ++access_tokens_;
  issued_.push_back(token);
  return token;
}

}  // namespace larkspin::test_support
