#include "config/oauth_access.h"

#include <chrono>
#include <map>
#include <mutex>

#include "config/log.h"
#include "config/oauth_endpoint.h"
#include "config/oauth_token_store.h"

namespace larkspin {

namespace {
using Clock = std::chrono::steady_clock;

// A token is renewed when less than this is left of it.
constexpr std::chrono::seconds kRenewalMargin{60};

struct HeldToken {
  std::string token;
  Clock::time_point expires;
};

std::mutex held_mutex;
std::map<std::string, HeldToken> held_tokens;  // by account section

AccessToken Refused(const std::string& section, std::string problem, bool sign_in_again) {
  if (sign_in_again) problem += "; sign in again (larkspin sign-in)";
  LogEvent(section + ": OAuth: " + problem);
  return {false, {}, sign_in_again, problem};
}

AccessToken Renewed(const std::string& section, CHttpClient& http) {
  const OAuthSettings settings = ReadOAuthSettings(section);
  if (const std::string problem = settings.Problem(); !problem.empty()) return Refused(section, problem, false);
  const StoredPassword stored = ReadRefreshToken(section);
  if (stored.result == StoredPasswordResult::kFailed) return Refused(section, stored.problem, false);
  if (stored.result == StoredPasswordResult::kNotStored) return Refused(section, "no refresh token is stored", true);
  const TokenReply reply = RefreshAccessToken(http, settings, stored.password);
  if (reply.outcome != TokenOutcome::kGranted)
    return Refused(section, reply.problem, reply.outcome == TokenOutcome::kSignInAgain);
  // A provider that rotates refresh tokens has just made the stored one useless.
  if (!reply.refresh_token.empty() && reply.refresh_token != stored.password)
    RememberRefreshToken(section, reply.refresh_token);
  std::lock_guard<std::mutex> lock(held_mutex);
  held_tokens[section] = {reply.access_token, Clock::now() + std::chrono::seconds(reply.expires_in)};
  return {true, reply.access_token, false, {}};
}
}  // namespace

AccessToken AccessTokenOf(const std::string& section, CHttpClient& http, bool renew) {
  {
    std::lock_guard<std::mutex> lock(held_mutex);
    const auto held = held_tokens.find(section);
    if (held != held_tokens.end() && !renew && held->second.expires - Clock::now() > kRenewalMargin)
      return {true, held->second.token, false, {}};
    if (held != held_tokens.end()) held_tokens.erase(held);
  }
  return Renewed(section, http);
}

void ForgetAccessTokens() {
  std::lock_guard<std::mutex> lock(held_mutex);
  held_tokens.clear();
}

}  // namespace larkspin
