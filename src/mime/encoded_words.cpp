#include "mime/encoded_words.h"

#include <optional>
#include <vector>

#include "common/string_tools.h"
#include "common/windows_1252.h"
#include "mime/base64.h"
#include "mime/charset_conversion.h"
#include "mime/quoted_printable.h"

namespace larkspin {

namespace {
// One piece of a value: plain text, or an encoded word whose text is decoded to bytes.
struct Token {
  bool is_word = false;
  size_t begin = 0;
  size_t end = 0;
  std::string charset;  // words only, without an RFC 2231 language
  std::string bytes;    // words only
};

bool IsBlankOnly(std::string_view text) {
  return !text.empty() && text.find_first_not_of(" \t") == std::string_view::npos;
}

// Base64 text of a B word: alphabet characters, then at most two "=" of padding; missing
// padding is forgiven.
std::optional<std::string> DecodeBWordText(std::string_view text) {
  const size_t data_end = text.find_last_not_of('=') + 1;
  if (text.size() - data_end > 2) return std::nullopt;
  const std::string_view data = text.substr(0, data_end);
  if (data.size() % 4 == 1) return std::nullopt;
  std::string bytes;
  CBase64Decoder decoder;
  if (decoder.DecodeRun(data, bytes) != data.size()) return std::nullopt;
  return bytes;
}

// The encoded word that starts at value[at] ("=?"), or nothing when the text there is not one:
// a charset up to the next "?", "B" or "Q", "?", and the text up to the next "?=".
std::optional<Token> ParseWord(std::string_view value, size_t at) {
  const size_t charset_end = value.find('?', at + 2);
  if (charset_end == std::string_view::npos || value.size() - charset_end < 3 || value[charset_end + 2] != '?')
    return std::nullopt;
  const char encoding = value[charset_end + 1];
  const size_t text_begin = charset_end + 3;
  const size_t text_end = value.find("?=", text_begin);
  if (text_end == std::string_view::npos) return std::nullopt;
  const std::string_view text = value.substr(text_begin, text_end - text_begin);
  std::optional<std::string> bytes;
  if (encoding == 'q' || encoding == 'Q') bytes = DecodeQWordText(text);
  if (encoding == 'b' || encoding == 'B') bytes = DecodeBWordText(text);
  if (!bytes) return std::nullopt;
  const std::string_view charset = value.substr(at + 2, charset_end - at - 2);
  return Token{true, at, text_end + 2, std::string(charset.substr(0, charset.find('*'))), std::move(*bytes)};
}

std::vector<Token> Tokenize(std::string_view value) {
  std::vector<Token> tokens;
  size_t plain_begin = 0;
  for (size_t at = value.find("=?"); at != std::string_view::npos; at = value.find("=?", at)) {
    std::optional<Token> word = ParseWord(value, at);
    if (!word) {
      at += 2;
      continue;
    }
    if (at > plain_begin) tokens.push_back({false, plain_begin, at, {}, {}});
    plain_begin = at = word->end;
    tokens.push_back(std::move(*word));
  }
  if (plain_begin < value.size()) tokens.push_back({false, plain_begin, value.size(), {}, {}});
  return tokens;
}

// A decoded run of words, or plain text, on its way into the result.
struct Piece {
  bool decoded = false;
  std::string text;  // UTF-8
};

bool IsBlankBetweenWords(const std::vector<Token>& tokens, size_t i, std::string_view value) {
  return i + 1 < tokens.size() && tokens[i + 1].is_word && !tokens[i].is_word &&
         IsBlankOnly(value.substr(tokens[i].begin, tokens[i].end - tokens[i].begin));
}

// Joins the word at tokens[i] with the words of its charset that follow it across blanks only,
// converts their bytes, and moves i to the last of them.
Piece DecodeRun(const std::vector<Token>& tokens, size_t& i, std::string_view value) {
  const Token& first = tokens[i];
  std::string bytes = first.bytes;
  while (i + 2 < tokens.size() && IsBlankBetweenWords(tokens, i + 1, value) &&
         EqualsIgnoringCase(tokens[i + 2].charset, first.charset)) {
    i += 2;
    bytes += tokens[i].bytes;
  }
  if (std::optional<std::string> text = ConvertToUtf8(bytes, first.charset)) return {true, std::move(*text)};
  return {false, AsUtf8(value.substr(first.begin, tokens[i].end - first.begin))};
}

std::vector<Piece> DecodePieces(const std::vector<Token>& tokens, std::string_view value) {
  std::vector<Piece> pieces;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].is_word) {
      pieces.push_back(DecodeRun(tokens, i, value));
    } else {
      pieces.push_back({false, AsUtf8(value.substr(tokens[i].begin, tokens[i].end - tokens[i].begin))});
    }
  }
  return pieces;
}
}  // namespace

std::string DecodeEncodedWords(std::string_view value) {
  if (value.find("=?") == std::string_view::npos) return AsUtf8(value);
  const std::vector<Piece> pieces = DecodePieces(Tokenize(value), value);
  std::string decoded;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const bool between_decoded = i > 0 && i + 1 < pieces.size() && pieces[i - 1].decoded && pieces[i + 1].decoded;
    if (between_decoded && IsBlankOnly(pieces[i].text)) continue;
    decoded += pieces[i].text;
  }
  return decoded;
}

}  // namespace larkspin
