#pragma once
// Signing an account in with OAuth 2.0, by the device flow (RFC 8628: the provider gives a code
// for the user to enter at its page, and the token endpoint is polled until the user consented,
// refused, or the code ran out) or by the authorization code flow with PKCE and a loopback
// redirect (the consent page opened in the browser, which comes back to http://127.0.0.1:PORT/).
// The refresh token either yields is stored as PasswordStore says. A stop flag set from another
// thread ends either flow soon, with nothing stored.
#include <atomic>
#include <chrono>
#include <functional>
#include <string>

#include "config/oauth_endpoint.h"

namespace larkspin {

struct SignInResult {
  bool signed_in = false;
  std::string problem;  // when not signed in: one line for the user
};

// What the device flow shows the user: the code and the page to enter it at.
using ShowDeviceCode = std::function<void(const std::string& user_code, const std::string& verification_uri)>;
// Waits between polls (a real sleep outside tests); it may end early once the flow is stopped.
using PollWait = std::function<void(std::chrono::seconds)>;

// How long a sign-in waits for the browser to come back from the consent page.
inline constexpr unsigned kConsentTimeoutMs = 5 * 60 * 1000;
inline constexpr const char* kSignInStopped = "the sign-in was stopped";

// The device flow of the section's account, with its settings' device endpoint; the refresh
// token is remembered for the section. slow_down lengthens the interval by five seconds, as the
// flow asks; the code's expires_in bounds the time spent waiting.
SignInResult SignInByDevice(const std::string& section, CHttpClient& http, const ShowDeviceCode& show,
                            const PollWait& wait, const std::atomic<bool>* stop = nullptr);

// Opens the consent page (xdg-open outside tests); false when it could not be opened.
using OpenConsentPage = std::function<bool(const std::string& url)>;

// The loopback flow of the section's account: waits at most timeout_ms for the browser to come
// back, checks its state, and redeems the code with the PKCE verifier.
SignInResult SignInByBrowser(const std::string& section, CHttpClient& http, const OpenConsentPage& open,
                             unsigned timeout_ms, const std::atomic<bool>* stop = nullptr);

// What a sign-in by either flow shows and how it waits.
struct SignInHooks {
  ShowDeviceCode show_code;
  PollWait wait;
  OpenConsentPage open;
  const std::atomic<bool>* stop = nullptr;
};

// The device flow where the account's provider has one for mail (a device endpoint), else the
// loopback flow, which waits kConsentTimeoutMs for the browser.
SignInResult SignInWithProvider(const std::string& section, CHttpClient& http, const SignInHooks& hooks);

}  // namespace larkspin
