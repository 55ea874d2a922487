#pragma once
// The browser of a sign-in test: comes back from the consent page as a provider that consents
// does, with a GET of the consent URL's redirect_uri carrying the code (or the error) and the
// state it was given (or a foreign one). The request is made on a thread of its own, so it can
// be started from the opener the sign-in calls before it listens.
#include <string>

namespace larkspin::test_support {

// query_tail: "code=..." or "error=...", without the state.
void ComeBackFromConsent(const std::string& consent_url, const std::string& query_tail, bool foreign_state = false);

// The loopback port of the consent URL's redirect_uri.
int RedirectPortOf(const std::string& consent_url);

// A connection to 127.0.0.1:port, for the caller to close; -1 when nobody listens there.
int ConnectToLoopback(int port);

}  // namespace larkspin::test_support
