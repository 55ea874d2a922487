#pragma once
// The MD5 message digest (RFC 1321), used by CRAM-MD5 authentication.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace larkspin {

using Md5Digest = std::array<uint8_t, 16>;

Md5Digest ComputeMd5(std::string_view bytes);

// The digest as 32 lower-case hexadecimal digits.
std::string DigestToHex(const Md5Digest& digest);

}  // namespace larkspin
