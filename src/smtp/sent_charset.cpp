#include "smtp/sent_charset.h"

#include <algorithm>

#include "common/string_tools.h"

namespace larkspin {

namespace {
bool HoldsWindows1252OnlyByte(std::string_view text) {
  return std::ranges::any_of(text, [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 && byte <= 0x9F;
  });
}
}  // namespace

std::string SentCharsetOf(std::string_view text, std::string_view charset, TextEncoding encoding) {
  if (encoding == TextEncoding::kClassic && EqualsIgnoringCase(charset, "iso-8859-1") && HoldsWindows1252OnlyByte(text))
    return "windows-1252";
  return std::string(charset);
}

}  // namespace larkspin
