#include "cli/terminal_text.h"

#include "common/windows_1252.h"

namespace larkspin {

namespace {
bool IsC0OrDelete(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

// A C1 control character (U+0080 to U+009F) in UTF-8 is 0xC2 followed by 0x80 to 0x9F.
bool IsC1At(std::string_view text, size_t i) {
  return static_cast<unsigned char>(text[i]) == 0xC2 && i + 1 < text.size() &&
         static_cast<unsigned char>(text[i + 1]) >= 0x80 && static_cast<unsigned char>(text[i + 1]) <= 0x9F;
}
}  // namespace

std::string TerminalText(std::string_view text) {
  const std::string utf8 = IsValidUtf8(text) ? std::string(text) : AnsiToUtf8(text);
  std::string shown;
  shown.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (IsC1At(utf8, i)) {
      shown += ' ';
      ++i;
    } else {
      shown += IsC0OrDelete(static_cast<unsigned char>(utf8[i])) ? ' ' : utf8[i];
    }
  }
  return shown;
}

}  // namespace larkspin
