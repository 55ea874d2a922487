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

std::string StripUmlauts(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (const char c : text) {
    if (const char* replacement = Replacement(static_cast<unsigned char>(c))) {
      out += replacement;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace larkspin
