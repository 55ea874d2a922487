#include "common/decimal.h"

#include <climits>

namespace larkspin {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t SkipBlanks(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return i;
}

// Accumulates the digit run starting at i, stopping at limit.
uint64_t ReadDigits(std::string_view text, size_t i, uint64_t limit) {
  uint64_t value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + static_cast<uint64_t>(text[i] - '0');
    if (value > limit) return limit;
  }
  return value;
}
}  // namespace

int ParseDecimalInt(std::string_view text) {
  size_t i = SkipBlanks(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const uint64_t limit = negative ? uint64_t{INT_MAX} + 1 : uint64_t{INT_MAX};
  const uint64_t magnitude = ReadDigits(text, i, limit);
  if (negative) return magnitude > uint64_t{INT_MAX} ? INT_MIN : -static_cast<int>(magnitude);
  return static_cast<int>(magnitude);
}

uint32_t ParseDecimalU32(std::string_view text) {
  return static_cast<uint32_t>(ReadDigits(text, SkipBlanks(text), UINT32_MAX));
}

}  // namespace larkspin
