#include "mime/header_parameter.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <vector>

#include "common/string_tools.h"
#include "common/windows_1252.h"
#include "mime/charset_conversion.h"
#include "mime/encoded_words.h"

namespace larkspin {

namespace {
struct RawParameter {
  std::string name;
  std::string value;  // quotes removed
};

// The quoted string that starts at text[at] ('"'), without its quotes and backslashes; at is
// moved past its end.
std::string QuotedString(std::string_view text, size_t& at) {
  std::string value;
  for (++at; at < text.size() && text[at] != '"'; ++at) {
    if (text[at] == '\\' && at + 1 < text.size()) ++at;
    value += text[at];
  }
  ++at;
  return value;
}

// The "name=value" pairs after the first ";", in order; a ";" inside quotes separates nothing.
std::vector<RawParameter> RawParameters(std::string_view field) {
  std::vector<RawParameter> parameters;
  size_t at = field.find(';');
  while (at < field.size()) {
    const size_t equals = field.find('=', at + 1);
    if (equals == std::string_view::npos) break;
    RawParameter parameter{std::string(Trimmed(field.substr(at + 1, equals - at - 1))), {}};
    at = field.find_first_not_of(" \t", equals + 1);
    if (at < field.size() && field[at] == '"') {
      parameter.value = QuotedString(field, at);
      at = field.find(';', at);
    } else {
      const size_t end = std::min(field.find(';', at), field.size());
      parameter.value = std::string(Trimmed(field.substr(std::min(at, end), end - std::min(at, end))));
      at = end;
    }
    parameters.push_back(std::move(parameter));
  }
  return parameters;
}

int HexDigit(char c) {
  int value = -1;
  std::from_chars(&c, &c + 1, value, 16);
  return value;
}

std::string PercentDecoded(std::string_view text) {
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
      bytes += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      bytes += text[i];
    }
  }
  return bytes;
}

// One section of an RFC 2231 value and whether it is percent-encoded.
struct Section {
  std::string text;
  bool extended = false;
};

// The section number and extended mark of a parameter named name*, name*N or name*N*; nothing
// for other names.
std::optional<std::pair<int, bool>> SectionOf(std::string_view parameter, std::string_view name) {
  if (parameter.size() <= name.size() || !EqualsIgnoringCase(parameter.substr(0, name.size()), name) ||
      parameter[name.size()] != '*')
    return std::nullopt;
  std::string_view rest = parameter.substr(name.size() + 1);
  if (rest.empty()) return std::pair{0, true};
  const bool extended = rest.back() == '*';
  if (extended) rest.remove_suffix(1);
  int number = -1;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), number);
  if (error != std::errc() || end != rest.data() + rest.size() || number < 0) return std::nullopt;
  return std::pair{number, extended};
}

// The joined sections as UTF-8: the charset comes before the first "'" of an extended first
// section, the language up to the second is dropped.
std::string JoinedSections(const std::map<int, Section>& sections) {
  std::string charset;
  std::string bytes;
  for (const auto& [number, section] : sections) {
    std::string_view text = section.text;
    if (number == 0 && section.extended && std::ranges::count(text, '\'') >= 2) {
      const size_t first = text.find('\'');
      charset = std::string(text.substr(0, first));
      text.remove_prefix(text.find('\'', first + 1) + 1);
    }
    bytes += section.extended ? PercentDecoded(text) : std::string(text);
  }
  if (std::optional<std::string> text = ConvertToUtf8(bytes, charset)) return *text;
  return AsUtf8(bytes);
}
}  // namespace

std::string ParameterValue(std::string_view field_value, std::string_view name) {
  std::map<int, Section> sections;
  std::optional<std::string> plain;
  for (RawParameter& parameter : RawParameters(field_value)) {
    if (EqualsIgnoringCase(parameter.name, name)) {
      if (!plain) plain = std::move(parameter.value);
    } else if (const auto section = SectionOf(parameter.name, name)) {
      sections.try_emplace(section->first, Section{std::move(parameter.value), section->second});
    }
  }
  if (!sections.empty()) return JoinedSections(sections);
  return plain ? DecodeEncodedWords(*plain) : std::string();
}

}  // namespace larkspin
