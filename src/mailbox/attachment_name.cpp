#include "mailbox/attachment_name.h"

namespace larkspin {

namespace {
bool HasControlByte(std::string_view name) {
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return true;
  }
  return false;
}
}  // namespace

std::string SafeAttachmentName(std::string_view name) {
  const size_t separator = name.find_last_of("/\\");
  const std::string_view last = separator == std::string_view::npos ? name : name.substr(separator + 1);
  if (last.empty() || last == "." || last == ".." || HasControlByte(last)) return {};
  return std::string(last);
}

bool IsPlainFileName(std::string_view name) { return !name.empty() && SafeAttachmentName(name) == name; }

}  // namespace larkspin
