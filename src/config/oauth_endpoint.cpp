#include "config/oauth_endpoint.h"

#include <nlohmann/json.hpp>

namespace larkspin {

namespace {
using Json = nlohmann::json;

std::string TextOf(const Json& object, const char* key) {
  const auto found = object.find(key);
  return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

// A number that providers send as a number or as a string.
long NumberOf(const Json& object, const char* key, long fallback) {
  const auto found = object.find(key);
  if (found == object.end()) return fallback;
  if (found->is_number_integer()) return found->get<long>();
  if (found->is_string()) return std::strtol(found->get<std::string>().c_str(), nullptr, 10);
  return fallback;
}

// The reply's JSON object, or a problem.
bool ParseObject(const HttpReply& reply, Json& object, std::string& problem) {
  if (!reply.answered) {
    problem = reply.problem;
    return false;
  }
  object = Json::parse(reply.body, nullptr, false);
  if (object.is_object()) return true;
  problem = "the provider's reply (HTTP " + std::to_string(reply.status) + ") is not a JSON object";
  return false;
}

std::string ErrorText(const Json& object, long status) {
  const std::string error = TextOf(object, "error");
  const std::string description = TextOf(object, "error_description");
  std::string text = "the provider refused (HTTP " + std::to_string(status) + "): " + (error.empty() ? "no reason given" : error);
  if (!description.empty()) text += ": " + description;
  return text;
}

TokenOutcome OutcomeOfError(const std::string& error) {
  if (error == "authorization_pending") return TokenOutcome::kPending;
  if (error == "slow_down") return TokenOutcome::kSlowDown;
  if (error == "expired_token" || error == "access_denied") return TokenOutcome::kExpired;
  if (error == "invalid_grant") return TokenOutcome::kSignInAgain;
  return TokenOutcome::kFailed;
}

FormFields WithClient(const OAuthSettings& settings, FormFields fields) {
  fields.emplace_back("client_id", settings.client_id);
  if (!settings.client_secret.empty()) fields.emplace_back("client_secret", settings.client_secret);
  return fields;
}

TokenReply PostToTokenEndpoint(CHttpClient& http, const OAuthSettings& settings, FormFields fields) {
  return ReadTokenReply(http.PostForm(settings.token_url, WithClient(settings, std::move(fields)), kTokenRequestTimeoutMs));
}
}  // namespace

TokenReply ReadTokenReply(const HttpReply& reply) {
  TokenReply token;
  Json object;
  if (!ParseObject(reply, object, token.problem)) return token;
  token.access_token = TextOf(object, "access_token");
  if (reply.status == 200 && !token.access_token.empty()) {
    token.outcome = TokenOutcome::kGranted;
    token.refresh_token = TextOf(object, "refresh_token");
    token.expires_in = NumberOf(object, "expires_in", token.expires_in);
    return token;
  }
  token.access_token.clear();
  token.outcome = OutcomeOfError(TextOf(object, "error"));
  token.problem = ErrorText(object, reply.status);
  return token;
}

DeviceGrant ReadDeviceGrant(const HttpReply& reply) {
  DeviceGrant grant;
  Json object;
  if (!ParseObject(reply, object, grant.problem)) return grant;
  grant.device_code = TextOf(object, "device_code");
  grant.user_code = TextOf(object, "user_code");
  grant.verification_uri = TextOf(object, "verification_uri");
  if (grant.verification_uri.empty()) grant.verification_uri = TextOf(object, "verification_url");  // Google's name
  grant.interval = NumberOf(object, "interval", grant.interval);
  grant.expires_in = NumberOf(object, "expires_in", grant.expires_in);
  grant.started = reply.status == 200 && !grant.device_code.empty() && !grant.user_code.empty() &&
                  !grant.verification_uri.empty();
  if (!grant.started) grant.problem = ErrorText(object, reply.status);
  return grant;
}

TokenReply RefreshAccessToken(CHttpClient& http, const OAuthSettings& settings, const std::string& refresh_token) {
  return PostToTokenEndpoint(http, settings, {{"grant_type", "refresh_token"}, {"refresh_token", refresh_token}});
}

DeviceGrant StartDeviceFlow(CHttpClient& http, const OAuthSettings& settings) {
  return ReadDeviceGrant(
      http.PostForm(settings.device_url, WithClient(settings, {{"scope", settings.scopes}}), kTokenRequestTimeoutMs));
}

TokenReply PollDeviceToken(CHttpClient& http, const OAuthSettings& settings, const std::string& device_code) {
  return PostToTokenEndpoint(
      http, settings, {{"grant_type", "urn:ietf:params:oauth:grant-type:device_code"}, {"device_code", device_code}});
}

TokenReply RedeemAuthorizationCode(CHttpClient& http, const OAuthSettings& settings, const std::string& code,
                                   const std::string& verifier, const std::string& redirect_uri) {
  return PostToTokenEndpoint(http, settings,
                             {{"grant_type", "authorization_code"},
                              {"code", code},
                              {"code_verifier", verifier},
                              {"redirect_uri", redirect_uri}});
}

}  // namespace larkspin
