#include "mailbox/section_lines.h"

#include "common/string_tools.h"
#include "mime/base64.h"

namespace larkspin {

namespace {

bool IsBase64OrPad(char c) { return c == '=' || Base64Value(c) >= 0; }
}  // namespace

bool IsTokenCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '/' || c == '\\' || c == '_' || c == '~';
}

SectionLineKind ClassifySectionLine(std::string_view line) {
  if (!line.empty() && line.front() == '\n') return SectionLineKind::kEmpty;
  std::string_view content = line.substr(0, line.find('\n'));
  const size_t trailing = content.find_last_not_of(" \t");
  const size_t run_start = trailing == std::string_view::npos ? 0 : trailing + 1;
  if (run_start < content.size() && content[run_start] != ' ') return SectionLineKind::kHeader;
  content = content.substr(0, run_start);
  for (const char c : content) {
    if (!IsBase64OrPad(c)) return SectionLineKind::kHeader;
  }
  return SectionLineKind::kData;
}

std::vector<std::string_view> HeaderWords(std::string_view line) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && !IsTokenCharacter(line[at])) ++at;
    const size_t start = at;
    while (at < line.size() && IsTokenCharacter(line[at])) ++at;
    if (at > start) words.push_back(line.substr(start, at - start));
  }
  return words;
}

bool MatchesKeyword(std::string_view word, std::string_view keyword) { return EqualsIgnoringCase(word, keyword); }

std::string NameParameter(const std::vector<std::string_view>& words) {
  std::string name;
  for (size_t i = 0; i + 1 < words.size(); ++i) {
    if (!MatchesKeyword(words[i], "name")) continue;
    name = words[i + 1];
    ++i;
  }
  return name;
}

}  // namespace larkspin
