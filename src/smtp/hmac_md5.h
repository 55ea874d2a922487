#pragma once
// HMAC (RFC 2104) with MD5: the keyed digest of CRAM-MD5 authentication.
#include <string_view>

#include "smtp/md5.h"

namespace larkspin {

// A key longer than the 64-byte block is first replaced by its MD5 digest.
Md5Digest ComputeHmacMd5(std::string_view key, std::string_view text);

}  // namespace larkspin
