#pragma once
// Base64 with the standard alphabet of RFC 2045 ("A"-"Z", "a"-"z", "0"-"9", "+", "/") and "="
// padding: attachment bodies and the SMTP authentication exchanges one way, attachment sections
// of received messages the other.
#include <string>
#include <string_view>

namespace larkspin {

// The value 0..63 of a base64 character, or -1 for any other byte ("=" included).
int Base64Value(char c);

// Decoding as a stream: every character adds six bits, and every eight bits complete a byte.
// Bits short of a byte wait for the next character, across calls.
class CBase64Decoder {
 public:
  // Adds six bits and appends the byte they complete, if any, to out.
  void AddSixBits(unsigned value, std::string& out);
  // Decodes the leading run of alphabet characters of text into out and returns its length:
  // text.size() when every character belongs to the alphabet, else the position of the first
  // one that does not ("=" included), where decoding stopped.
  size_t DecodeRun(std::string_view text, std::string& out);
  // True when bits short of a byte are waiting: data cut off before its group ended.
  bool HasPendingBits() const { return bit_count_ > 0; }

 private:
  unsigned bits_ = 0;
  int bit_count_ = 0;
};

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
