#include "smtp/hmac_md5.h"

#include <string>

namespace larkspin {

namespace {
constexpr size_t kBlockSize = 64;
constexpr char kInnerPad = 0x36;
constexpr char kOuterPad = 0x5C;

// The key filled up to one block with zero bytes, each byte combined with pad.
std::string PaddedKey(std::string_view key, char pad) {
  std::string padded(kBlockSize, pad);
  for (size_t i = 0; i < key.size(); ++i) padded[i] = static_cast<char>(key[i] ^ pad);
  return padded;
}
}  // namespace

Md5Digest ComputeHmacMd5(std::string_view key, std::string_view text) {
  Md5Digest hashed_key;
  if (key.size() > kBlockSize) {
    hashed_key = ComputeMd5(key);
    key = std::string_view(reinterpret_cast<const char*>(hashed_key.data()), hashed_key.size());
  }
  const Md5Digest inner = ComputeMd5(PaddedKey(key, kInnerPad) + std::string(text));
  const std::string_view inner_bytes(reinterpret_cast<const char*>(inner.data()), inner.size());
  return ComputeMd5(PaddedKey(key, kOuterPad) + std::string(inner_bytes));
}

}  // namespace larkspin
