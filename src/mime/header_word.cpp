#include "mime/header_word.h"

#include <algorithm>

#include "common/string_tools.h"
#include "common/windows_1252.h"
#include "mime/encoded_words.h"
#include "mime/quoted_printable.h"

namespace larkspin {

namespace {
constexpr size_t kMaxEncodedWordLength = 75;
// A run of characters without a blank that no header line of 78 characters could hold.
constexpr size_t kLongestPlainRun = 77;

bool HasHighByte(std::string_view chunk) {
  return std::any_of(chunk.begin(), chunk.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// Control bytes are copied too; line breaks never get here (RenderHeader turns them into blanks).
bool IsCopiedInWord(unsigned char b) { return b < 0x80 && b != '=' && b != '?' && b != '_'; }
// Bytes as they stand inside a "Q" encoded word.
std::string QEncoded(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (c == ' ') {
      out += '_';
    } else if (IsCopiedInWord(b)) {
      out += c;
    } else {
      AppendQPEscape(b, out);
    }
  }
  return out;
}

std::string WordOf(const std::string& encoded_characters, std::string_view charset) {
  return "=?" + std::string(charset) + "?q?" + encoded_characters + "?=";
}

bool HasLongPlainRun(std::string_view text) {
  size_t run = 0;
  for (const char c : text) {
    run = c == ' ' || c == '\t' ? 0 : run + 1;
    if (run > kLongestPlainRun) return true;
  }
  return false;
}

bool NeedsEncodedWords(std::string_view text) { return HasHighByte(text) || HasLongPlainRun(text); }
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
  return WordOf(QEncoded(chunk), charset);
}

std::string EncodeHeaderText(std::string_view text, std::string_view charset, TextEncoding encoding) {
  const bool utf8 = IsUtf8Charset(charset);
  const std::string bytes = utf8 && encoding == TextEncoding::kClassic ? AnsiToUtf8(text) : std::string(text);
  if (!NeedsEncodedWords(bytes)) return bytes;
  const size_t room = kMaxEncodedWordLength - WordOf("", charset).size();
  std::string encoded;
  std::string word;  // the encoded characters of the word being filled
  for (size_t start = 0; start < bytes.size();) {
    size_t end = start + 1;
    while (utf8 && end < bytes.size() && IsUtf8Continuation(static_cast<unsigned char>(bytes[end]))) ++end;
    const std::string character = QEncoded(std::string_view(bytes).substr(start, end - start));
    if (!word.empty() && word.size() + character.size() > room) {
      encoded += (encoded.empty() ? "" : " ") + WordOf(word, charset);
      word.clear();
    }
    word += character;
    start = end;
  }
  return encoded + (encoded.empty() ? "" : " ") + WordOf(word, charset);
}

}  // namespace larkspin
