#include "platform/pkce.h"

#include <openssl/rand.h>
#include <openssl/sha.h>

namespace larkspin {

namespace {
std::string Base64Url(const unsigned char* bytes, size_t size) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
  std::string out;
  unsigned bits = 0;
  int count = 0;
  for (size_t i = 0; i < size; ++i) {
    bits = (bits << 8) | bytes[i];
    count += 8;
    while (count >= 6) {
      count -= 6;
      out += kAlphabet[(bits >> count) & 63];
    }
  }
  if (count > 0) out += kAlphabet[(bits << (6 - count)) & 63];
  return out;
}
}  // namespace

std::string RandomUrlToken() {
  unsigned char bytes[32];
  if (RAND_bytes(bytes, sizeof bytes) != 1) return {};
  return Base64Url(bytes, sizeof bytes);
}

std::string PkceChallenge(const std::string& verifier) {
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256(reinterpret_cast<const unsigned char*>(verifier.data()), verifier.size(), digest);
  return Base64Url(digest, sizeof digest);
}

}  // namespace larkspin
