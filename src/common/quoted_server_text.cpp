#include "common/quoted_server_text.h"

#include "common/windows_1252.h"

namespace larkspin {

namespace {
constexpr std::string_view kEllipsis = "...";

bool IsControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

// Where a text longer than the limit is cut: room for the ellipsis, and never inside a UTF-8
// sequence (a Windows-1252 text loses at most three letters to that rule).
size_t CutPosition(std::string_view text, size_t max_bytes) {
  size_t cut = max_bytes - kEllipsis.size();
  for (int back = 0; back < 3 && cut > 0 && IsUtf8Continuation(static_cast<unsigned char>(text[cut])); ++back) --cut;
  return cut;
}
}  // namespace

std::string QuotedServerText(std::string_view text, size_t max_bytes) {
  const bool cut = text.size() > max_bytes;
  std::string quoted(cut ? text.substr(0, CutPosition(text, max_bytes)) : text);
  for (char& c : quoted) {
    if (IsControl(static_cast<unsigned char>(c))) c = ' ';
  }
  if (cut) quoted += kEllipsis;
  return quoted;
}

}  // namespace larkspin
