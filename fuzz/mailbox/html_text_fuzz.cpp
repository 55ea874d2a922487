// Fuzz target: the HTML strip. Every "<" starts a tag or drops the rest, so none is left, and the
// text never grows.
#include <cstdlib>
#include <string>

#include "mailbox/html_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = larkspin::StripHtml(std::string_view(reinterpret_cast<const char*>(data), size));
  if (text.find('<') != std::string::npos || text.size() > size) std::abort();
  return 0;
}
