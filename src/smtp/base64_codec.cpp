#include "smtp/base64_codec.h"

#include <algorithm>
#include <array>

namespace larkspin {

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

unsigned SixBitsOf(char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned>(c - 'A');
  if (c >= 'a' && c <= 'z') return static_cast<unsigned>(c - 'a' + 26);
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0' + 52);
  if (c == '+') return 62;
  if (c == '/') return 63;
  return 0;
}

unsigned char ByteAt(std::string_view bytes, size_t i) {
  return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0;
}

// The four characters of the group of up to three bytes starting at i.
std::array<char, 4> EncodeGroup(std::string_view bytes, size_t i) {
  const size_t available = std::min<size_t>(3, bytes.size() - i);
  const unsigned group = (ByteAt(bytes, i) << 16) | (ByteAt(bytes, i + 1) << 8) | ByteAt(bytes, i + 2);
  return {kAlphabet[(group >> 18) & 0x3F], kAlphabet[(group >> 12) & 0x3F],
          available > 1 ? kAlphabet[(group >> 6) & 0x3F] : '=', available > 2 ? kAlphabet[group & 0x3F] : '='};
}

size_t EncodedLength(size_t byte_count) { return (byte_count + 2) / 3 * 4; }
}  // namespace

std::string Base64Codec::Encode(std::string_view bytes) const {
  std::string out;
  out.reserve(EncodedLength(bytes.size()));
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const std::array<char, 4> group = EncodeGroup(bytes, i);
    out.append(group.data(), group.size());
  }
  return out;
}

std::string Base64Codec::EncodeLines(std::string_view bytes) const {
  const size_t encoded_length = EncodedLength(bytes.size());
  const size_t line_count = (encoded_length + kLineLength - 1) / kLineLength;
  std::string out;
  out.reserve(encoded_length + 2 * line_count);
  size_t in_line = 0;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    for (const char c : EncodeGroup(bytes, i)) {
      out += c;
      if (++in_line < kLineLength) continue;
      out += "\r\n";
      in_line = 0;
    }
  }
  if (in_line > 0) out += "\r\n";
  return out;
}

std::string Base64Codec::Decode(std::string_view text) const {
  std::string out;
  out.reserve((text.size() + 3) / 4 * 3);
  for (size_t i = 0; i < text.size(); i += 4) {
    unsigned group = 0;
    for (size_t k = 0; k < 4; ++k) group = (group << 6) | (i + k < text.size() ? SixBitsOf(text[i + k]) : 0);
    out += static_cast<char>((group >> 16) & 0xFF);
    out += static_cast<char>((group >> 8) & 0xFF);
    out += static_cast<char>(group & 0xFF);
  }
  return out;
}

std::string Base64Codec::DecodeText(std::string_view text) const {
  std::string decoded = Decode(text);
  decoded.resize(std::min(decoded.size(), decoded.find('\0')));
  return decoded;
}

}  // namespace larkspin
