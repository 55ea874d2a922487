#include "mime/mail_header.h"

#include <algorithm>

#include "common/string_tools.h"

namespace larkspin {

namespace {
bool IsNameByte(char c) { return c >= '!' && c <= '~' && c != ':'; }

// End of a field value starting at start: the first line break not followed by a blank or tab.
size_t FieldValueEnd(std::string_view text, size_t start) {
  for (size_t at = text.find("\r\n", start); at != std::string_view::npos; at = text.find("\r\n", at + 2)) {
    const bool continued = at + 2 < text.size() && (text[at + 2] == ' ' || text[at + 2] == '\t');
    if (!continued) return at;
  }
  return text.size();
}

std::string Unfold(std::string_view value) {
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

size_t NextLine(std::string_view header, size_t line) {
  const size_t end = header.find("\r\n", line);
  return end == std::string_view::npos ? end : end + 2;
}

// Calls found(line, name_length, value_end) for each field from its first line on, until it
// returns true; the position of that field's line, or npos.
template <typename Found>
size_t ScanFields(std::string_view header, Found found) {
  for (size_t line = 0; line != std::string_view::npos && line < header.size();) {
    const size_t name_length = HeaderFieldNameLength(header.substr(line));
    if (name_length == std::string_view::npos) {
      line = NextLine(header, line);
      continue;
    }
    const size_t value_end = FieldValueEnd(header, line + name_length + 1);
    if (found(line, name_length, value_end)) return line;
    line = value_end == header.size() ? std::string_view::npos : value_end + 2;
  }
  return std::string_view::npos;
}
}  // namespace

size_t HeaderFieldNameLength(std::string_view line) {
  const size_t length = std::ranges::find_if_not(line, IsNameByte) - line.begin();
  return length < line.size() && line[length] == ':' ? length : std::string_view::npos;
}

std::string HeaderFieldValue(std::string_view header, std::string_view name) {
  std::string value;
  ScanFields(header, [&](size_t line, size_t name_length, size_t value_end) {
    if (name_length != name.size() || !EqualsIgnoringCase(header.substr(line, name_length), name)) return false;
    const size_t start = line + name_length + 1;
    value = Unfold(header.substr(start, value_end - start));
    return true;
  });
  return value;
}

CMailHeader::CMailHeader(std::string header) : text_(std::move(header)) {
  ScanFields(text_, [&](size_t line, size_t name_length, size_t value_end) {
    fields_.push_back({line, name_length, line + name_length + 1, value_end});
    return false;
  });
}

const CMailHeader::Field* CMailHeader::Find(std::string_view name, size_t from) const {
  for (size_t i = from; i < fields_.size(); ++i) {
    const Field& field = fields_[i];
    if (field.name_length == name.size() &&
        EqualsIgnoringCase(std::string_view(text_).substr(field.name_start, field.name_length), name))
      return &field;
  }
  return nullptr;
}

std::string CMailHeader::ValueOf(const Field& field) const {
  return Unfold(std::string_view(text_).substr(field.value_start, field.value_end - field.value_start));
}

std::string CMailHeader::First(std::string_view name) const {
  const Field* field = Find(name, 0);
  return field == nullptr ? std::string() : ValueOf(*field);
}

std::vector<std::string> CMailHeader::All(std::string_view name) const {
  std::vector<std::string> values;
  for (const Field* field = Find(name, 0); field != nullptr; field = Find(name, field - fields_.data() + 1))
    values.push_back(ValueOf(*field));
  return values;
}

bool CMailHeader::Has(std::string_view name) const { return Find(name, 0) != nullptr; }

}  // namespace larkspin
