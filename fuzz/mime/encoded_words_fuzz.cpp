// Fuzz target: the Modern decoders of received header values. Whatever the bytes, a From or
// Subject value decoded by DecodeEncodedWords and a parameter read by ParameterValue are valid
// UTF-8, and an RFC 2045 quoted-printable text never grows when it is decoded.
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/windows_1252.h"
#include "mime/encoded_words.h"
#include "mime/header_parameter.h"
#include "mime/quoted_printable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (!larkspin::IsValidUtf8(larkspin::DecodeEncodedWords(input))) std::abort();
  if (!larkspin::IsValidUtf8(larkspin::ParameterValue(input, "filename"))) std::abort();
  if (larkspin::DecodeQPText(input).size() > size) std::abort();
  return 0;
}
