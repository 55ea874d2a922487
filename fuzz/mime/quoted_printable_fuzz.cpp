// Fuzz target: the quoted-printable table. Every row replaces an escape by something shorter or
// as long, so the text never grows.
#include <cstdlib>
#include <string>

#include "mime/quoted_printable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  larkspin::DecodeQuotedPrintable(text);
  if (text.size() > size) std::abort();
  return 0;
}
