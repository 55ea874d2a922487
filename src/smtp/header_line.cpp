#include "smtp/header_line.h"

namespace larkspin {

std::string WithoutLineBreaks(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c != '\r' && c != '\n') {
      out += c;
      continue;
    }
    out += ' ';
    if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
  }
  return out;
}

}  // namespace larkspin
