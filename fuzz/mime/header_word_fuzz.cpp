// Fuzz target: header words in the fields of a received header, decoded as the peek does. The
// first byte picks the field name; an unfolded value holds no line break pair, no tab and no
// blank at either end, and decoding its encoded word never makes it longer. Encoded again, the
// value is plain ASCII.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

#include "mime/header_word.h"
#include "mime/mail_header.h"

namespace {
constexpr std::array<const char*, 6> kNames = {"From", "Subject", "Date", "Content-Type", "Cc", "X"};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const larkspin::CMailHeader header(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  const std::string_view name = kNames[data[0] % kNames.size()];
  std::string value = larkspin::HeaderFieldValue(header.Text(), name);
  // Read once or in place, the header gives the same first value.
  if (header.First(name) != value) std::abort();
  if (value.find("\r\n") != std::string::npos || value.find('\t') != std::string::npos) std::abort();
  if (!value.empty() && (value.front() == ' ' || value.back() == ' ')) std::abort();
  const size_t unfolded_size = value.size();
  larkspin::DecodeHeaderWord(value);
  if (value.size() > unfolded_size) std::abort();
  const std::string encoded = larkspin::EncodeHeaderText(value, "iso-8859-1");
  if (std::any_of(encoded.begin(), encoded.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
    std::abort();
  return 0;
}
