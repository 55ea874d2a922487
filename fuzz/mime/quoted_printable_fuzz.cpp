// Fuzz target: quoted-printable both ways. Every row of the decoding table replaces an escape by
// something shorter or as long, so the text never grows; the encoding holds only printable ASCII,
// blanks, tabs and line ends, in lines of at most 79 bytes.
#include <cstdlib>
#include <string>

#include "mime/quoted_printable.h"

namespace {
bool IsEncodedByte(char c) { return (c >= 33 && c <= 126) || c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void CheckEncoding(const std::string& encoded) {
  size_t line_length = 0;
  for (const char c : encoded) {
    if (!IsEncodedByte(c)) std::abort();
    line_length = c == '\r' || c == '\n' ? 0 : line_length + 1;
    if (line_length > 79) std::abort();
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  CheckEncoding(larkspin::EncodeQP(text));
  larkspin::DecodeQuotedPrintable(text);
  if (text.size() > size) std::abort();
  return 0;
}
