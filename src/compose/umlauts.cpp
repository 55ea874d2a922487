#include "compose/umlauts.h"

namespace larkspin {

namespace {
// The replacement of one byte, or null when it is kept.
const char* Replacement(unsigned char byte) {
  switch (byte) {
    case 0xE4:
      return "ae";
    case 0xF6:
      return "oe";
    case 0xFC:
      return "ue";
    case 0xC4:
      return "Ae";
    case 0xD6:
      return "Oe";
    case 0xDC:
      return "Ue";
    case 0xDF:
      return "ss";
    default:
      return nullptr;
  }
}
}  // namespace

std::string StripUmlauts(std::string_view text, TextEncoding encoding) {
  const bool utf8 = encoding == TextEncoding::kUtf8;
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    // In UTF-8 the letters are 0xC3 followed by 0x80 plus the low six bits of their code point.
    const bool two_byte_latin = utf8 && byte == 0xC3 && i + 1 < text.size();
    const unsigned code_point = two_byte_latin ? 0xC0 | (static_cast<unsigned char>(text[i + 1]) & 0x3F) : byte;
    const char* replacement = utf8 && !two_byte_latin && byte >= 0x80 ? nullptr : Replacement(code_point);
    if (replacement) {
      out += replacement;
      if (two_byte_latin) ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace larkspin
