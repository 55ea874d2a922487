#include "config/oauth_sign_in.h"

#include <algorithm>

#include "config/log.h"
#include "config/oauth_access.h"
#include "config/oauth_token_store.h"

namespace larkspin {

namespace {
constexpr std::chrono::seconds kSlowDownStep{5};

// Keeps the granted refresh token; a grant without one cannot sign in later.
SignInResult Kept(const std::string& section, const TokenReply& reply) {
  if (reply.refresh_token.empty())
    return {false, "the provider gave no refresh token (does the scope ask for offline access?)"};
  const std::string problem = RememberRefreshToken(section, reply.refresh_token);
  if (!problem.empty()) return {false, problem};
  ForgetAccessTokens();
  LogEvent(section + ": signed in with OAuth");
  return {true, {}};
}
}  // namespace

SignInResult SignInByDevice(const std::string& section, CHttpClient& http, const ShowDeviceCode& show,
                            const PollWait& wait) {
  const OAuthSettings settings = ReadOAuthSettings(section);
  if (const std::string problem = settings.Problem(); !problem.empty()) return {false, problem};
  if (settings.device_url.empty()) return {false, "the provider has no device flow (no OAuthDeviceURL)"};
  const DeviceGrant grant = StartDeviceFlow(http, settings);
  if (!grant.started) return {false, grant.problem};
  show(grant.user_code, grant.verification_uri);
  std::chrono::seconds interval{std::max(grant.interval, 1L)};
  std::chrono::seconds waited{0};
  while (waited < std::chrono::seconds(grant.expires_in)) {
    wait(interval);
    waited += interval;
    const TokenReply reply = PollDeviceToken(http, settings, grant.device_code);
    switch (reply.outcome) {
      case TokenOutcome::kGranted:
        return Kept(section, reply);
      case TokenOutcome::kPending:
        continue;
      case TokenOutcome::kSlowDown:
        interval += kSlowDownStep;
        continue;
      case TokenOutcome::kExpired:
      case TokenOutcome::kSignInAgain:
      case TokenOutcome::kFailed:
        return {false, reply.problem};
    }
  }
  return {false, "the code ran out before the sign-in was confirmed"};
}

}  // namespace larkspin
