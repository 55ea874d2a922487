// Fuzz target: base64 both ways. Any bytes come back from their encoding (the group decoder
// adds the zero bytes of the padding, the stream decoder stops at it), body lines hold at most
// 76 characters, and any text decodes to three bytes per started group of four characters.
#include <cstdlib>
#include <string>
#include <string_view>

#include "mime/base64.h"

namespace {
void CheckBodyLines(const std::string& lines) {
  for (size_t start = 0, end; start < lines.size(); start = end + 2) {
    end = lines.find("\r\n", start);
    if (end == std::string::npos || end - start > larkspin::Base64Codec::kLineLength) std::abort();
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const larkspin::Base64Codec codec;
  const std::string encoded = codec.Encode(bytes);
  const std::string decoded = codec.Decode(encoded);
  if (decoded.compare(0, size, bytes) != 0 || decoded.find_first_not_of('\0', size) != std::string::npos) std::abort();
  larkspin::CBase64Decoder stream;
  std::string streamed;
  stream.DecodeRun(encoded, streamed);
  if (streamed != bytes) std::abort();
  CheckBodyLines(codec.EncodeLines(bytes));
  if (codec.Decode(bytes).size() != (size + 3) / 4 * 3) std::abort();
  return 0;
}
