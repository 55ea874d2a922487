#pragma once
// The desktop keyring: passwords kept by the Secret Service (gnome-keyring, KWallet) on the
// session bus, through libsecret. Each password is one item of the program's own schema
// "org.larkspin.Password", found by its POP3 host and login; an OAuth refresh token is an item
// of the schema "org.larkspin.OAuth", found the same way, so the two never stand for each other.
//
// Every call waits at most timeout_ms for the service; a service that does not answer in time
// counts as a failure, as do a missing session bus or service and a locked keyring. Nothing here
// ever asks the user (no unlock prompt): a locked item or collection is reported as such. The
// calls may run on any thread.
#include <string>

namespace larkspin {

enum class SecretKind { kPassword, kOAuthRefreshToken };

struct SecretKey {
  std::string host;
  std::string login;
  SecretKind kind = SecretKind::kPassword;
};

enum class SecretResult {
  kDone,      // stored, found or removed
  kNotFound,  // a lookup found no password for the key (removing nothing is kDone)
  kFailed,    // the keyring could not be used; problem says why
};

struct SecretReply {
  SecretResult result = SecretResult::kFailed;
  std::string secret;   // the password, after a successful lookup
  std::string problem;  // one line for the user when kFailed
};

// The item's label as the keyring shows it: "Larkspin: LOGIN@HOST", or for a refresh token
// "Larkspin OAuth: LOGIN@HOST".
std::string SecretLabel(const SecretKey& key);

// Stores (or replaces) the password of key in the default collection.
SecretReply StoreSecret(const SecretKey& key, const std::string& secret, unsigned timeout_ms);
// Looks the password of key up; a locked item is kFailed.
SecretReply LookUpSecret(const SecretKey& key, unsigned timeout_ms);
// Removes the password of key; kDone also when there was none.
SecretReply RemoveSecret(const SecretKey& key, unsigned timeout_ms);

}  // namespace larkspin
