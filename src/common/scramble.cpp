#include "common/scramble.h"

namespace larkspin {

namespace {
size_t ShiftBytes(std::string& text, int direction) {
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned b = static_cast<unsigned char>(text[i]);
    const unsigned position = static_cast<unsigned>(i % 256);
    const unsigned shifted = direction < 0 ? b - position + 5 : b + position - 5;
    text[i] = static_cast<char>(shifted & 0xFF);
  }
  return text.size();
}
}  // namespace

size_t ScrambleText(std::string& text) { return ShiftBytes(text, -1); }
size_t UnscrambleText(std::string& text) { return ShiftBytes(text, +1); }

std::string Scrambled(std::string text) {
  ScrambleText(text);
  return text;
}

}  // namespace larkspin
