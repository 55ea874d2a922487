// Fuzz target: header fields of a received header, decoded as the peek does. The first byte
// picks the field name; an unfolded value holds no line break pair, no tab and no blank at
// either end.
#include <array>
#include <cstdlib>
#include <string>

#include "mime/header_word.h"
#include "pop3/pop3_text.h"

namespace {
constexpr std::array<const char*, 6> kNames = {"From", "Subject", "Date", "Content-Type", "Cc", "X"};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  larkspin::CPop3Text header;
  header.SetText(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  std::string value = header.HeaderField(kNames[data[0] % kNames.size()]);
  if (value.find("\r\n") != std::string::npos || value.find('\t') != std::string::npos) std::abort();
  if (!value.empty() && (value.front() == ' ' || value.back() == ' ')) std::abort();
  larkspin::DecodeHeaderWord(value);
  header.BodyText();
  return 0;
}
