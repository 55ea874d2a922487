#include "common/string_tools.h"

#include <algorithm>

namespace larkspin {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowercaseAscii(std::string_view text) {
  std::string lowered(text);
  std::ranges::transform(lowered, lowered.begin(), LowerAscii);
  return lowered;
}

std::string Between(std::string_view text, std::string_view start_mark, std::string_view end_mark) {
  const size_t start = text.find(start_mark);
  if (start == std::string_view::npos) return {};
  const size_t inner = start + start_mark.size();
  const size_t end = text.find(end_mark, inner);
  if (end == std::string_view::npos) return {};
  return std::string(text.substr(inner, end - inner));
}

size_t ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement, ReplaceScope scope) {
  if (pattern.empty()) return 0;
  size_t found = text.find(pattern);
  if (found == std::string::npos) return 0;
  // Built into a new string in one pass, so many replacements in a long text cost linear time.
  std::string result;
  result.reserve(text.size());
  size_t copied = 0;
  size_t count = 0;
  while (found != std::string::npos) {
    result.append(text, copied, found - copied);
    result.append(replacement);
    copied = found + pattern.size();
    ++count;
    if (scope == ReplaceScope::kFirst) break;
    found = text.find(pattern, copied);
  }
  result.append(text, copied, std::string::npos);
  text.swap(result);
  return count;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::string_view Trimmed(std::string_view text, std::string_view characters) {
  const size_t begin = text.find_first_not_of(characters);
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(characters) + 1 - begin);
}

}  // namespace larkspin
