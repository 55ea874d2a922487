#include "pop3/pop3_text.h"

#include <algorithm>

namespace larkspin {

namespace {
constexpr const char* kEmptyLine = "\r\n\r\n";

std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// End of a field value starting at start: the first line break not followed by a blank or tab.
size_t FieldValueEnd(const std::string& text, size_t start) {
  for (size_t at = text.find("\r\n", start); at != std::string::npos; at = text.find("\r\n", at + 2)) {
    const bool continued = at + 2 < text.size() && (text[at + 2] == ' ' || text[at + 2] == '\t');
    if (!continued) return at;
  }
  return text.size();
}

std::string Unfold(std::string value) {
  std::string joined;
  joined.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n') {
      ++i;
      continue;
    }
    joined += value[i] == '\t' ? ' ' : value[i];
  }
  const size_t first = joined.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return joined.substr(first, joined.find_last_not_of(' ') - first + 1);
}
}  // namespace

std::string CPop3Text::HeaderText() const { return text_.substr(0, text_.find(kEmptyLine)); }

std::string CPop3Text::BodyText() const {
  const size_t at = text_.find(kEmptyLine);
  return at == std::string::npos ? std::string() : text_.substr(at + 4);
}

std::string CPop3Text::HeaderField(const std::string& name) const {
  const std::string header = "\r\n" + HeaderText();
  const size_t at = UpperAscii(header).find("\r\n" + UpperAscii(name) + ":");
  if (at == std::string::npos) return {};
  const size_t start = at + 2 + name.size() + 1;
  return Unfold(header.substr(start, FieldValueEnd(header, start) - start));
}

}  // namespace larkspin
