#include "smtp/dot_stuff.h"

namespace larkspin {

std::string DotStuff(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 16);
  bool at_line_start = true;
  for (const char c : text) {
    if (at_line_start && c == '.') out += '.';
    out += c;
    at_line_start = c == '\n';
  }
  return out;
}

}  // namespace larkspin
