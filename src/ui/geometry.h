#pragma once
// Points, sizes and rectangles in pixels, and colours as 32-bit values with red in the low byte.
#include <cstdint>

namespace larkspin {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

// Right and bottom are exclusive, as in the dialog framework.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  bool operator==(const Rect&) const = default;
};

using Colour = uint32_t;

constexpr Colour Rgb(uint8_t red, uint8_t green, uint8_t blue) {
  return Colour{red} | (Colour{green} << 8) | (Colour{blue} << 16);
}
constexpr uint8_t RedOf(Colour colour) { return colour & 0xFF; }
constexpr uint8_t GreenOf(Colour colour) { return (colour >> 8) & 0xFF; }
constexpr uint8_t BlueOf(Colour colour) { return (colour >> 16) & 0xFF; }

}  // namespace larkspin
