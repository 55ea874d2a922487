#include "mime/quoted_printable.h"

#include <array>

#include "common/string_tools.h"

namespace larkspin {

namespace {
struct Escape {
  std::string_view pattern;
  std::string_view replacement;
};

// The order matters: "=3D" comes after the letter rows, so "=3DC4" ends as "=C4".
constexpr std::array<Escape, 36> kEscapes = {{
    {"=C4", "\xC4"}, {"=D6", "\xD6"}, {"=DC", "\xDC"}, {"=E4", "\xE4"}, {"=F6", "\xF6"}, {"=FC", "\xFC"},
    {"=DF", "\xDF"}, {"=E9", "\xE9"}, {"=E1", "\xE1"}, {"=FA", "\xFA"}, {"=ED", "\xED"}, {"=F3", "\xF3"},
    {"=A9", "\xA9"}, {"=AE", "\xAE"}, {"=F1", "\xF1"}, {"=B2", "\xB2"}, {"=B3", "\xB3"}, {"=D0", " "},
    {"=20", " "},    {"=2D", "-"},    {"=2E", "."},    {"=3D", "="},    {"=B4", "'"},    {"=28", "("},
    {"=29", ")"},    {"=3C", "<"},    {"=3E", ">"},    {"=2C", ","},    {"=26", "&"},    {"=3A", ":"},
    {"=2F", "/"},    {"=B7", "\xB7"}, {"=3F", "?"},    {"=0D=0A", "\r\n"}, {"=\r\n", "\r\n"}, {"&nbsp;", " "},
}};

constexpr size_t kCutSearchStart = 77;  // j - s at which the search for a cut point begins
constexpr size_t kForcedCut = 76;       // s + 76: the cut when no acceptable point exists

bool IsCopiedByte(unsigned char b) {
  return (b >= 33 && b <= 60) || (b >= 62 && b <= 126) || b == '\t' || b == '\n' || b == '\r' || b == ' ';
}

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

bool EndsLine(std::string_view bytes, size_t i) {
  return i + 1 == bytes.size() || bytes[i + 1] == '\r' || bytes[i + 1] == '\n';
}

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// A line may be cut after k when k is white space or the last byte of an escape of this line.
bool IsCutPoint(std::string_view escaped, size_t s, size_t k) {
  return IsWhiteSpace(escaped[k]) || (k >= s + 2 && escaped[k - 2] == '=');
}

// The last byte of the line that starts at s and has reached the search length at j.
size_t FindCut(std::string_view escaped, size_t s, size_t j) {
  for (size_t k = j; k > s; --k) {
    if (IsCutPoint(escaped, s, k)) return k;
  }
  size_t k = s + kForcedCut;
  // No escape begins before s + 76 here, or it would have given a cut point; one beginning at
  // s + 76 itself must not be split.
  if (escaped[k] == '=') --k;
  return k;
}
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The byte of the escape "=XY" at text[i], or -1 when it is none.
int EscapedByteAt(std::string_view text, size_t i) {
  if (text.size() - i < 3) return -1;
  const int high = HexValue(text[i + 1]);
  const int low = HexValue(text[i + 2]);
  return high < 0 || low < 0 ? -1 : high * 16 + low;
}

// The position after the soft line break that starts with the "=" at text[i], or npos. A "=" that
// ends the text is a soft break too: the line end after it belongs to the next delimiter.
size_t SoftBreakEnd(std::string_view text, size_t i) {
  size_t k = i + 1;
  while (k < text.size() && IsBlankOrTab(text[k])) ++k;
  if (k == text.size()) return k;
  if (text[k] == '\n') return k + 1;
  if (text.size() - k >= 2 && text[k] == '\r' && text[k + 1] == '\n') return k + 2;
  return std::string_view::npos;
}
}  // namespace

std::string DecodeQPText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '=') {
      out += text[i];
    } else if (const int byte = EscapedByteAt(text, i); byte >= 0) {
      out += static_cast<char>(byte);
      i += 2;
    } else if (const size_t end = SoftBreakEnd(text, i); end != std::string_view::npos) {
      i = end - 1;
    } else {
      out += '=';
    }
  }
  return out;
}

std::string DecodeQWordText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '_') {
      out += ' ';
    } else if (const int byte = text[i] == '=' ? EscapedByteAt(text, i) : -1; byte >= 0) {
      out += static_cast<char>(byte);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

void DecodeQuotedPrintable(std::string& text) {
  for (const Escape& escape : kEscapes) ReplaceAll(text, escape.pattern, escape.replacement, ReplaceScope::kAll);
}

void AppendQPEscape(unsigned char b, std::string& out) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += '=';
  out += kHex[b >> 4];
  out += kHex[b & 0x0F];
}

std::string EscapeQP(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (IsCopiedByte(b) && !(IsBlankOrTab(bytes[i]) && EndsLine(bytes, i))) {
      out += bytes[i];
    } else {
      AppendQPEscape(b, out);
    }
  }
  return out;
}

std::string BreakQPLines(std::string_view escaped) {
  std::string out;
  out.reserve(escaped.size() + escaped.size() / 32);
  size_t s = 0;
  for (size_t j = 0; j < escaped.size();) {
    if (escaped[j] == '\n' || escaped[j] == '\r' || j + 1 == escaped.size()) {
      out.append(escaped, s, j + 1 - s);
      s = ++j;
    } else if (j - s >= kCutSearchStart) {
      const size_t k = FindCut(escaped, s, j);
      out.append(escaped, s, k + 1 - s);
      out += "=\r\n";
      s = j = k + 1;
    } else {
      ++j;
    }
  }
  return out;
}

std::string EncodeQP(std::string_view bytes) { return BreakQPLines(EscapeQP(bytes)); }

}  // namespace larkspin
