#include "mailbox/html_text.h"

namespace larkspin {

namespace {
bool IsLineBreakTag(std::string_view tag) {
  return tag.size() == 4 && tag[0] == '<' && (tag[1] == 'b' || tag[1] == 'B') && (tag[2] == 'r' || tag[2] == 'R') &&
         tag[3] == '>';
}
}  // namespace

std::string StripHtml(std::string_view html) {
  std::string text;
  text.reserve(html.size());
  size_t at = 0;
  while (at < html.size()) {
    const size_t open = html.find('<', at);
    text.append(html.substr(at, open == std::string_view::npos ? std::string_view::npos : open - at));
    if (open == std::string_view::npos) break;
    const size_t close = html.find('>', open);
    if (close == std::string_view::npos) break;
    if (IsLineBreakTag(html.substr(open, close - open + 1))) text += '\n';
    at = close + 1;
  }
  return text;
}

}  // namespace larkspin
