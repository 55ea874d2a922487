#include "common/windows_1252.h"

#include <array>

namespace larkspin {

namespace {
// Code points of the bytes 0x80 to 0x9F; 0xA0 to 0xFF equal their code points.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePointOfByte(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char32_t{byte};
}

void AppendUtf8(std::string& out, char32_t code_point) {
  if (code_point < 0x80) {
    out += static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    out += static_cast<char>(0xC0 | (code_point >> 6));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code_point >> 12));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  }
}

char ByteOfCodePoint(char32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) return static_cast<char>(code_point);
  for (size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == code_point) return static_cast<char>(0x80 + i);
  }
  return '?';
}

struct SequenceShape {
  size_t length;      // bytes of the sequence, 0 for a byte that cannot start one
  char32_t minimum;   // smallest code point this length may carry (shorter forms are overlong)
  unsigned lead_bits; // payload bits of the lead byte
};

SequenceShape ShapeOfLead(unsigned char lead) {
  if (lead < 0x80) return {1, 0, 0x7F};
  if ((lead & 0xE0) == 0xC0) return {2, 0x80, 0x1F};
  if ((lead & 0xF0) == 0xE0) return {3, 0x800, 0x0F};
  if ((lead & 0xF8) == 0xF0) return {4, 0x10000, 0x07};
  return {0, 0, 0};
}

// Decodes the UTF-8 sequence at text[i] and moves i past it; false when it is malformed,
// overlong, a surrogate or beyond U+10FFFF.
bool DecodeUtf8(std::string_view text, size_t& i, char32_t& code_point) {
  const unsigned char lead = static_cast<unsigned char>(text[i]);
  const SequenceShape shape = ShapeOfLead(lead);
  if (shape.length == 0 || text.size() - i < shape.length) return false;
  code_point = lead & shape.lead_bits;
  for (size_t k = 1; k < shape.length; ++k) {
    const unsigned char next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return false;
    code_point = (code_point << 6) | (next & 0x3F);
  }
  if (code_point < shape.minimum || code_point > 0x10FFFF || (code_point >= 0xD800 && code_point <= 0xDFFF))
    return false;
  i += shape.length;
  return true;
}
}  // namespace

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size() + ansi.size() / 8);
  for (const char c : ansi) AppendUtf8(out, CodePointOfByte(static_cast<unsigned char>(c)));
  return out;
}

std::string AsUtf8(std::string_view bytes) { return IsValidUtf8(bytes) ? std::string(bytes) : AnsiToUtf8(bytes); }

bool IsValidUtf8(std::string_view text) {
  char32_t ignored;
  for (size_t i = 0; i < text.size();) {
    if (!DecodeUtf8(text, i, ignored)) return false;
  }
  return true;
}

bool FitsWindows1252(std::string_view utf8) {
  char32_t code_point;
  for (size_t i = 0; i < utf8.size();) {
    if (!DecodeUtf8(utf8, i, code_point)) return false;
    if (ByteOfCodePoint(code_point) == '?' && code_point != '?') return false;
  }
  return true;
}

bool FitsIso88591(std::string_view utf8) {
  char32_t code_point;
  for (size_t i = 0; i < utf8.size();) {
    if (!DecodeUtf8(utf8, i, code_point)) return false;
    if (code_point >= 0x80 && (code_point < 0xA0 || code_point > 0xFF)) return false;
  }
  return true;
}

std::string TypedTextToAnsi(std::string_view text) {
  if (!IsValidUtf8(text)) return std::string(text);
  std::string out;
  out.reserve(text.size());
  char32_t code_point;
  for (size_t i = 0; i < text.size();) {
    DecodeUtf8(text, i, code_point);
    out += ByteOfCodePoint(code_point);
  }
  return out;
}

}  // namespace larkspin
