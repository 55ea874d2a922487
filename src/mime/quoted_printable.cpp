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
}  // namespace

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
