#include "config/oauth_sign_in.h"

#include <algorithm>

#include "config/log.h"
#include "config/oauth_access.h"
#include "config/oauth_token_store.h"
#include "platform/loopback_redirect.h"
#include "platform/pkce.h"

namespace larkspin {

namespace {
constexpr std::chrono::seconds kSlowDownStep{5};

bool Stopped(const std::atomic<bool>* stop) { return stop && stop->load(); }

// A sign-in that did not succeed: the problem, or the stop when the user stopped it (a request
// ended by the stop fails as well).
SignInResult NotSignedIn(const std::string& problem, const std::atomic<bool>* stop) {
  return {false, Stopped(stop) ? kSignInStopped : problem};
}

// Keeps the granted refresh token; a grant without one cannot sign in later.
SignInResult Kept(const std::string& section, const TokenReply& reply, const std::atomic<bool>* stop) {
  if (Stopped(stop)) return {false, kSignInStopped};
  if (reply.refresh_token.empty())
    return {false, "the provider gave no refresh token (does the scope ask for offline access?)"};
  const std::string problem = RememberRefreshToken(section, reply.refresh_token);
  if (!problem.empty()) return {false, problem};
  ForgetAccessTokens();
  LogEvent(section + ": signed in with OAuth");
  return {true, {}};
}
}  // namespace

std::string ConsentUrl(const OAuthSettings& settings, const std::string& redirect_uri, const std::string& verifier,
                       const std::string& state) {
  const char separator = settings.authorize_url.find('?') == std::string::npos ? '?' : '&';
  // access_type and prompt make Google give a refresh token; other providers pass them over.
  return settings.authorize_url + separator +
         FormEncoded({{"response_type", "code"},
                      {"client_id", settings.client_id},
                      {"redirect_uri", redirect_uri},
                      {"scope", settings.scopes},
                      {"code_challenge", PkceChallenge(verifier)},
                      {"code_challenge_method", "S256"},
                      {"state", state},
                      {"access_type", "offline"},
                      {"prompt", "consent"}});
}

SignInResult SignInByBrowser(const std::string& section, CHttpClient& http, const OpenConsentPage& open,
                             unsigned timeout_ms, const std::atomic<bool>* stop) {
  const OAuthSettings settings = ReadOAuthSettings(section);
  if (const std::string problem = settings.Problem(); !problem.empty()) return {false, problem};
  if (!IsAllowedEndpoint(settings.authorize_url)) return {false, "the account has no https:// OAuthAuthorizeURL"};
  CLoopbackRedirect redirect;
  const std::string verifier = RandomUrlToken();
  const std::string state = RandomUrlToken();
  if (!redirect.Listening() || verifier.empty() || state.empty()) return {false, "no loopback port could be opened"};
  if (!open(ConsentUrl(settings, redirect.RedirectUri(), verifier, state)))
    return {false, "the browser could not be started for the consent page"};
  std::map<std::string, std::string> fields;
  if (!redirect.WaitForRedirect(timeout_ms, fields, stop))
    return NotSignedIn("the browser did not come back in time", stop);
  if (fields["state"] != state) return {false, "the browser came back with a foreign state; nothing was stored"};
  if (fields["code"].empty()) {
    const std::string description = fields["error_description"];
    return {false, "the provider refused: " + (fields["error"].empty() ? "no code" : fields["error"]) +
                       (description.empty() ? "" : ": " + description)};
  }
  const TokenReply reply = RedeemAuthorizationCode(http, settings, fields["code"], verifier, redirect.RedirectUri());
  if (reply.outcome != TokenOutcome::kGranted) return NotSignedIn(reply.problem, stop);
  return Kept(section, reply, stop);
}

SignInResult SignInByDevice(const std::string& section, CHttpClient& http, const ShowDeviceCode& show,
                            const PollWait& wait, const std::atomic<bool>* stop) {
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
    if (Stopped(stop)) return {false, kSignInStopped};
    waited += interval;
    const TokenReply reply = PollDeviceToken(http, settings, grant.device_code);
    switch (reply.outcome) {
      case TokenOutcome::kGranted:
        return Kept(section, reply, stop);
      case TokenOutcome::kPending:
        continue;
      case TokenOutcome::kSlowDown:
        interval += kSlowDownStep;
        continue;
      case TokenOutcome::kExpired:
      case TokenOutcome::kSignInAgain:
      case TokenOutcome::kFailed:
        return NotSignedIn(reply.problem, stop);
    }
  }
  return {false, "the code ran out before the sign-in was confirmed"};
}

SignInResult SignInWithProvider(const std::string& section, CHttpClient& http, const SignInHooks& hooks) {
  if (!ReadOAuthSettings(section).device_url.empty())
    return SignInByDevice(section, http, hooks.show_code, hooks.wait, hooks.stop);
  return SignInByBrowser(section, http, hooks.open, kConsentTimeoutMs, hooks.stop);
}

}  // namespace larkspin
