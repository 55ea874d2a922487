#include "screening/text_pattern.h"

#include <re2/re2.h>

#include <algorithm>

#include "common/string_tools.h"

namespace larkspin {

CTextPattern CTextPattern::Contains(std::string_view text) {
  CTextPattern pattern;
  pattern.lowered_ = LowercaseAscii(text);
  return pattern;
}

std::optional<CTextPattern> CTextPattern::Regex(std::string_view expression, std::string& error) {
  RE2::Options options;
  options.set_case_sensitive(false);
  options.set_log_errors(false);
  auto regex = std::make_shared<const RE2>(re2::StringPiece(expression.data(), expression.size()), options);
  if (!regex->ok()) {
    error = regex->error();
    return std::nullopt;
  }
  CTextPattern pattern;
  pattern.regex_ = std::move(regex);
  return pattern;
}

bool CTextPattern::Matches(std::string_view text) const {
  if (regex_) return RE2::PartialMatch(re2::StringPiece(text.data(), text.size()), *regex_);
  const auto found = std::search(text.begin(), text.end(), lowered_.begin(), lowered_.end(),
                                 [](char a, char b) { return LowerAscii(a) == b; });
  return found != text.end() || lowered_.empty();
}

}  // namespace larkspin
