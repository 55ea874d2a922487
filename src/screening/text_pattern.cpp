#include "screening/text_pattern.h"

#include <re2/re2.h>

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

PatternText::PatternText(std::string original) : text(std::move(original)), lowered(LowercaseAscii(text)) {}

// Lowering changes ASCII letters only, so the lowered text holds the word where the text does.
bool CTextPattern::Matches(const PatternText& text) const {
  if (regex_) return RE2::PartialMatch(re2::StringPiece(text.text.data(), text.text.size()), *regex_);
  return text.lowered.find(lowered_) != std::string::npos;
}

}  // namespace larkspin
