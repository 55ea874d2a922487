#pragma once
// Base64 with the standard alphabet of RFC 2045 ("A"-"Z", "a"-"z", "0"-"9", "+", "/") and "="
// padding, for attachment bodies and the SMTP authentication exchanges.
#include <string>
#include <string_view>

namespace larkspin {

class Base64Codec {
 public:
  // One line of base64 text, no line breaks.
  std::string Encode(std::string_view bytes) const;
  static constexpr size_t kLineLength = 76;
  // The same text cut into lines of kLineLength characters, each followed by CR LF (the last
  // line may be shorter), as bodies are sent. Empty input gives empty output.
  std::string EncodeLines(std::string_view bytes) const;
  // Three bytes for every group of four characters; characters outside the alphabet, the
  // padding included, count as zero bits, so padded groups end in zero bytes. A last group of
  // fewer than four characters is completed with zero bits.
  std::string Decode(std::string_view text) const;
  // Decode up to the first zero byte: a prompt or challenge used as text.
  std::string DecodeText(std::string_view text) const;
};

}  // namespace larkspin
