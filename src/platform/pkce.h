#pragma once
// Proof Key for Code Exchange (RFC 7636) for the loopback sign-in: a random verifier, its S256
// challenge, and random state strings, all in unpadded base64url.
#include <string>

namespace larkspin {

// 32 random bytes in base64url (43 characters); empty when no random bytes could be had.
std::string RandomUrlToken();
// base64url(SHA-256(verifier)), without padding.
std::string PkceChallenge(const std::string& verifier);

}  // namespace larkspin
