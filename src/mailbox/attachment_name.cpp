#include "mailbox/attachment_name.h"

#include "common/windows_1252.h"

namespace larkspin {

namespace {
constexpr std::string_view kFallbackName = "attachment";
// An extension longer than this is taken as part of the stem.
constexpr size_t kMaxExtensionBytes = 16;

bool IsReplacedByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F || c == ',' || c == '>';
}

// The first bytes of text, at most limit of them, ending on a whole UTF-8 character.
std::string_view CutOnCharacter(std::string_view text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t end = limit;
  while (end > 0 && IsUtf8Continuation(static_cast<unsigned char>(text[end]))) --end;
  return text.substr(0, end);
}

// Where the extension of name begins (its last "."), or the name's size when it has none.
size_t ExtensionStart(std::string_view name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0 || name.size() - dot > kMaxExtensionBytes) return name.size();
  return dot;
}

// stem + suffix + the extension of name, the stem cut so that the whole fits the limit.
std::string WithinLimit(std::string_view name, std::string_view suffix) {
  const size_t extension_start = ExtensionStart(name);
  const std::string_view extension = name.substr(extension_start);
  const size_t room = kMaxAttachmentNameBytes - suffix.size() - extension.size();
  std::string result(CutOnCharacter(name.substr(0, extension_start), room));
  return result.append(suffix).append(extension);
}

}  // namespace

std::string SafeAttachmentName(std::string_view name) {
  const size_t separator = name.find_last_of("/\\");
  std::string last(separator == std::string_view::npos ? name : name.substr(separator + 1));
  if (last.empty() || last == "." || last == "..") return std::string(kFallbackName);
  for (char& c : last)
    if (IsReplacedByte(c)) c = '_';
  return WithinLimit(last, "");
}

std::string NumberedAttachmentName(std::string_view safe_name, int n) {
  if (n <= 1) return std::string(safe_name);
  return WithinLimit(safe_name, " (" + std::to_string(n) + ")");
}

bool IsPlainFileName(std::string_view name) { return !name.empty() && SafeAttachmentName(name) == name; }

}  // namespace larkspin
