#pragma once
// The SASL messages of OAuth 2.0 both ways: the initial client responses of XOAUTH2 and
// OAUTHBEARER (RFC 7628) in base64, and the status a server names in its base64 error
// challenge ({"status":"401",...}).
#include <string>
#include <string_view>

namespace larkspin {

// "XOAUTH2" or "OAUTHBEARER" for either name in any case; empty for any other name.
std::string SaslOAuthMechanismNamed(std::string_view name);
// Empty when a forced mechanism (OAuthMechanism) is empty or one of the two, else the line that
// tells the user why nothing was sent.
std::string SaslOAuthMechanismProblem(std::string_view forced);
// "XOAUTH2" or "OAUTHBEARER"; anything else counts as XOAUTH2.
std::string SaslOAuthResponse(std::string_view mechanism, const std::string& user, const std::string& token);
// The "status" of a base64 error challenge, or the decoded challenge itself when it names none.
std::string SaslOAuthErrorStatus(std::string_view challenge);
// What answers an error challenge: an empty line for XOAUTH2, "AQ==" (one 0x01) for OAUTHBEARER.
std::string SaslOAuthErrorAnswer(std::string_view mechanism);

}  // namespace larkspin
