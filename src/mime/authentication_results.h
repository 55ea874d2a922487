#pragma once
// The verdicts of an Authentication-Results value (RFC 8601) as receiving servers write them:
// "authserv-id; method=result property=value ...; ...", with comments in parentheses anywhere.
// Outlook leaves out the authserv-id and begins with the first result. Only the first result of
// each of spf, dkim and dmarc is kept, in lower case ("pass", "fail", "softfail", "none", ...).
#include <string>
#include <string_view>

namespace larkspin {

struct AuthenticationResults {
  std::string server;  // the authserv-id, empty where none is written
  std::string spf;     // empty where the value holds no such result
  std::string dkim;
  std::string dmarc;
};

AuthenticationResults ParseAuthenticationResults(std::string_view value);

}  // namespace larkspin
