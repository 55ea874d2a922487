#include "mailbox/text_layout.h"

#include <algorithm>

namespace larkspin {

namespace {
constexpr int kMostLineEnds = 2;  // one empty line

bool IsCollapsible(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

bool IsNoBreakSpaceAt(std::string_view text, size_t i) {
  return i + 1 < text.size() && text[i] == '\xC2' && text[i + 1] == '\xA0';
}
}  // namespace

void CTextLayout::Append(char c) {
  text_ += c;
  trailing_line_ends_ = 0;
}

void CTextLayout::Flush() {
  if (text_.empty()) line_ends_wanted_ = 0;
  if (line_ends_wanted_ > trailing_line_ends_) {
    for (int i = trailing_line_ends_; i < line_ends_wanted_; ++i) text_ += "\r\n";
    trailing_line_ends_ = line_ends_wanted_;
  }
  line_ends_wanted_ = 0;
  text_.append(blanks_, ' ');
  if (blanks_ > 0) trailing_line_ends_ = 0;
  blanks_ = 0;
}

void CTextLayout::AddText(std::string_view utf8) {
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (IsNoBreakSpaceAt(utf8, i)) {
      ++blanks_;
      ++i;
    } else if (IsCollapsible(utf8[i])) {
      const bool at_line_start = text_.empty() || trailing_line_ends_ > 0 || line_ends_wanted_ > 0;
      if (!at_line_start) blanks_ = std::max<size_t>(blanks_, 1);
    } else {
      Flush();
      Append(utf8[i]);
    }
  }
}

void CTextLayout::AddPreformatted(std::string_view utf8) {
  for (size_t i = 0; i < utf8.size(); ++i) {
    Flush();
    if ((utf8[i] == '\r' || utf8[i] == '\n') && text_.empty()) continue;
    if (utf8[i] == '\r' || utf8[i] == '\n') {
      if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
      text_ += "\r\n";
      ++trailing_line_ends_;
    } else {
      Append(utf8[i]);
    }
  }
}

void CTextLayout::BreakLine() {
  line_ends_wanted_ = std::max(line_ends_wanted_, 1);
  blanks_ = 0;
}

void CTextLayout::BreakParagraph() {
  line_ends_wanted_ = kMostLineEnds;
  blanks_ = 0;
}

void CTextLayout::AddLineEnd() {
  line_ends_wanted_ = std::min(std::max(line_ends_wanted_, trailing_line_ends_) + 1, kMostLineEnds);
  blanks_ = 0;
}


std::string CTextLayout::Text() const {
  const size_t end = text_.find_last_not_of("\r\n ");
  return text_.substr(0, end == std::string::npos ? 0 : end + 1);
}

}  // namespace larkspin
