#pragma once
// The private Secret Service that keyring_session.sh runs, seen from a test: what libsecret's
// own secret-tool finds there (an independent client), and locking it.
#include <string>

namespace larkspin::test_support {

// What "secret-tool search --all" prints for the program's items of host and login: label,
// secret and attributes, or empty when there is none.
std::string SecretToolSearch(const std::string& host, const std::string& login);
// Locks the default collection through the service's Lock call; false when it refused.
bool LockDefaultCollection();

}  // namespace larkspin::test_support
