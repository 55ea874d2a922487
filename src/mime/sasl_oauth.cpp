#include "mime/sasl_oauth.h"

#include "common/string_tools.h"
#include "mime/base64.h"

namespace larkspin {

namespace {
bool IsBearer(std::string_view mechanism) { return mechanism == "OAUTHBEARER"; }

// The authorization identity of a GS2 header: "," and "=" written as =2C and =3D.
std::string Gs2Name(const std::string& user) {
  std::string out;
  for (char c : user) {
    if (c == ',') out += "=2C";
    else if (c == '=') out += "=3D";
    else out += c;
  }
  return out;
}
}  // namespace

std::string SaslOAuthMechanismNamed(std::string_view name) {
  for (const char* mechanism : {"XOAUTH2", "OAUTHBEARER"})
    if (EqualsIgnoringCase(name, mechanism)) return mechanism;
  return {};
}

std::string SaslOAuthMechanismProblem(std::string_view forced) {
  if (forced.empty() || !SaslOAuthMechanismNamed(forced).empty()) return {};
  return "Unknown OAuth mechanism \"" + std::string(forced) +
         "\": the account's OAuthMechanism setting is not one of XOAUTH2 or OAUTHBEARER.";
}

std::string SaslOAuthResponse(std::string_view mechanism, const std::string& user, const std::string& token) {
  const std::string bearer = "auth=Bearer " + token + "\x01\x01";
  const std::string message = IsBearer(mechanism) ? "n,a=" + Gs2Name(user) + ",\x01" + bearer : "user=" + user + "\x01" + bearer;
  return Base64Codec().Encode(message);
}

std::string SaslOAuthErrorStatus(std::string_view challenge) {
  const std::string text = Base64Codec().DecodeText(challenge);
  const size_t key = text.find("\"status\"");
  const size_t open = key == std::string::npos ? key : text.find('"', text.find(':', key) + 1);
  const size_t close = open == std::string::npos ? open : text.find('"', open + 1);
  return close == std::string::npos ? text : text.substr(open + 1, close - open - 1);
}

std::string SaslOAuthErrorAnswer(std::string_view mechanism) { return IsBearer(mechanism) ? "AQ==" : ""; }

}  // namespace larkspin
