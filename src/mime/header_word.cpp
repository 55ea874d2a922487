#include "mime/header_word.h"

#include <algorithm>

#include "common/string_tools.h"
#include "common/windows_1252.h"
#include "mime/encoded_words.h"
#include "mime/quoted_printable.h"

namespace larkspin {

namespace {
constexpr size_t kChunkLength = 70;

bool HasHighByte(std::string_view chunk) {
  return std::any_of(chunk.begin(), chunk.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// Control bytes are copied too; line breaks never get here (RenderHeader turns them into blanks).
bool IsCopiedInWord(unsigned char b) { return b < 0x80 && b != '=' && b != '?' && b != '_'; }
}  // namespace

void DecodeHeaderWord(std::string& value) {
  std::string inner = Between(value, "=?iso-8859-1?q?", "?=");
  if (inner.empty()) inner = Between(value, "=?ISO-8859-1?Q?", "?=");
  if (inner.empty()) return;
  DecodeQuotedPrintable(inner);
  value = std::move(inner);
}

std::string DecodedHeaderValue(std::string value, TextEncoding encoding) {
  if (encoding == TextEncoding::kUtf8) return DecodeEncodedWords(value);
  DecodeHeaderWord(value);
  return value;
}

bool IsUtf8Charset(std::string_view charset) { return EqualsIgnoringCase(charset, "utf-8"); }

std::string EncodeHeaderWord(std::string_view chunk, std::string_view charset) {
  if (!HasHighByte(chunk)) return std::string(chunk);
  std::string word = "=?" + std::string(charset) + "?q?";
  for (const char c : chunk) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (c == ' ') {
      word += '_';
    } else if (IsCopiedInWord(b)) {
      word += c;
    } else {
      AppendQPEscape(b, word);
    }
  }
  return word + "?=";
}

std::string EncodeHeaderText(std::string_view text, std::string_view charset, TextEncoding encoding) {
  const bool utf8 = encoding == TextEncoding::kUtf8;
  const std::string bytes = IsUtf8Charset(charset) && !utf8 ? AnsiToUtf8(text) : std::string(text);
  std::string encoded;
  size_t start = 0;
  while (bytes.size() - start > kChunkLength) {
    size_t length = kChunkLength;
    while (utf8 && length > 1 && IsUtf8Continuation(static_cast<unsigned char>(bytes[start + length]))) --length;
    encoded += EncodeHeaderWord(std::string_view(bytes).substr(start, length), charset);
    start += length;
  }
  return encoded + EncodeHeaderWord(std::string_view(bytes).substr(start), charset);
}

}  // namespace larkspin
