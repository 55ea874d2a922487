#include "mailbox/mime_lines.h"

namespace larkspin {

namespace {
bool IsLineEndByte(char c) { return c == '\r' || c == '\n'; }
}  // namespace

DelimiterKind DelimiterOf(std::string_view line, std::string_view boundary) {
  if (line.size() < boundary.size() + 2 || !line.starts_with("--") || line.substr(2, boundary.size()) != boundary)
    return DelimiterKind::kNone;
  std::string_view rest = line.substr(2 + boundary.size());
  const bool close = rest.starts_with("--");
  if (close) rest.remove_prefix(2);
  rest.remove_suffix(TrailingLineEnd(rest));
  if (rest.find_first_not_of(" \t") != std::string_view::npos) return DelimiterKind::kNone;
  return close ? DelimiterKind::kClose : DelimiterKind::kOpen;
}

size_t TrailingLineEnd(std::string_view text) {
  if (text.ends_with("\r\n")) return 2;
  return !text.empty() && IsLineEndByte(text.back()) ? 1 : 0;
}

std::string_view CMimeLineCursor::Line() const {
  size_t end = at_;
  while (end < text_.size() && !IsLineEndByte(text_[end])) ++end;
  if (end < text_.size()) end += text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n' ? 2 : 1;
  return text_.substr(at_, end - at_);
}

bool CMimeLineCursor::AtPartEnd() const {
  if (at_ == text_.size()) return true;
  if (boundaries_.empty() || text_.compare(at_, 2, "--") != 0) return false;
  const std::string_view line = Line();
  for (const std::string& boundary : boundaries_)
    if (DelimiterOf(line, boundary) != DelimiterKind::kNone) return true;
  return false;
}

std::string_view CMimeLineCursor::SkipToPartEnd() {
  const size_t start = at_;
  if (boundaries_.empty()) at_ = text_.size();
  while (!AtPartEnd()) Advance();
  return text_.substr(start, at_ - start);
}

}  // namespace larkspin
