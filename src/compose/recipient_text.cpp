#include "compose/recipient_text.h"

namespace larkspin {

std::string NormalizeRecipientText(std::string_view text) {
  std::string normalized;
  normalized.reserve(text.size());
  for (const char c : text) {
    if (c == ' ') continue;
    normalized += c == ';' ? ',' : c;
  }
  return normalized;
}

std::vector<std::string> RecipientAddresses(std::string_view normalized) {
  std::vector<std::string> addresses;
  size_t start = 0;
  for (;;) {
    const size_t comma = normalized.find(',', start);
    const std::string_view field = normalized.substr(start, comma == std::string_view::npos ? comma : comma - start);
    if (field.find('@') != std::string_view::npos) addresses.emplace_back(field);
    if (comma == std::string_view::npos) return addresses;
    start = comma + 1;
  }
}

std::string SentCopyRecipientText(std::string_view normalized) {
  std::string listed;
  listed.reserve(normalized.size() + 8);
  for (const char c : normalized) {
    listed += c;
    if (c == ',') listed += ' ';
  }
  return listed;
}

}  // namespace larkspin
