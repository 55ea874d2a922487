#include "pop3/pop3_text.h"

#include <algorithm>
#include <string_view>

#include "common/string_tools.h"

namespace larkspin {

namespace {
constexpr const char* kEmptyLine = "\r\n\r\n";

// End of a field value starting at start: the first line break not followed by a blank or tab.
size_t FieldValueEnd(std::string_view text, size_t start) {
  for (size_t at = text.find("\r\n", start); at != std::string_view::npos; at = text.find("\r\n", at + 2)) {
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

std::string_view CPop3Text::HeaderText() const { return std::string_view(text_).substr(0, text_.find(kEmptyLine)); }

std::string CPop3Text::BodyText() const {
  const size_t at = text_.find(kEmptyLine);
  return at == std::string::npos ? std::string() : text_.substr(at + 4);
}

// The first line of the header (a line begins the text or follows "\r\n") that starts with name
// and a colon, name's case ignored. Read in place: a peek asks every header for several fields.
std::string CPop3Text::HeaderField(const std::string& name) const {
  const std::string_view header = HeaderText();
  for (size_t line = 0; line != std::string_view::npos;) {
    if (header.size() - line > name.size() && header[line + name.size()] == ':' &&
        EqualsIgnoringCase(header.substr(line, name.size()), name)) {
      const size_t start = line + name.size() + 1;
      return Unfold(std::string(header.substr(start, FieldValueEnd(header, start) - start)));
    }
    line = header.find("\r\n", line);
    if (line != std::string_view::npos) line += 2;
  }
  return {};
}

void CPop3Text::RestoreFinalLineEnd() {
  if (!text_.empty()) text_ += "\r\n";
}

}  // namespace larkspin
