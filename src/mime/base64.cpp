#include "mime/base64.h"

#include <algorithm>
#include <array>

namespace larkspin {

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<signed char, 256> MakeBase64Values() {
  std::array<signed char, 256> values{};
  values.fill(-1);
  for (size_t i = 0; i + 1 < sizeof kAlphabet; ++i) {
    values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<signed char>(i);
  }
  return values;
}
constexpr std::array<signed char, 256> kBase64Values = MakeBase64Values();

// The text length completed to whole groups of four characters.
size_t WholeGroupLength(size_t char_count) { return (char_count + 3) / 4 * 4; }

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

int Base64Value(char c) { return kBase64Values[static_cast<unsigned char>(c)]; }

void CBase64Decoder::AddSixBits(unsigned value, std::string& out) {
  bits_ = (bits_ << 6) | value;
  bit_count_ += 6;
  if (bit_count_ < 8) return;
  bit_count_ -= 8;
  out += static_cast<char>((bits_ >> bit_count_) & 0xFF);
  bits_ &= (1u << bit_count_) - 1;
}

size_t CBase64Decoder::DecodeRun(std::string_view text, std::string& out) {
  for (size_t i = 0; i < text.size(); ++i) {
    const int value = Base64Value(text[i]);
    if (value < 0) return i;
    AddSixBits(static_cast<unsigned>(value), out);
  }
  return text.size();
}

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
  const size_t length = WholeGroupLength(text.size());
  std::string out;
  out.reserve(length / 4 * 3);
  CBase64Decoder decoder;
  for (size_t i = 0; i < length; ++i) {
    const int value = i < text.size() ? Base64Value(text[i]) : 0;
    decoder.AddSixBits(value < 0 ? 0 : static_cast<unsigned>(value), out);
  }
  return out;
}

std::string Base64Codec::DecodeText(std::string_view text) const {
  std::string decoded = Decode(text);
  decoded.resize(std::min(decoded.size(), decoded.find('\0')));
  return decoded;
}

}  // namespace larkspin
