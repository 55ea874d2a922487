#pragma once
// A printer for the headless backend: a page of fixed size in which every byte is the same
// width, recording each line drawn on each page.
#include <string>
#include <vector>

#include "ui/print.h"

namespace larkspin {

struct PrintedLine {
  int x = 0;
  int y = 0;
  std::string text;
};

class CHeadlessPrinter : public CPrintCanvas {
 public:
  CHeadlessPrinter(Size page, int character_width, int line_height, int pixels_per_inch = 300)
      : page_(page), character_width_(character_width), line_height_(line_height),
        pixels_per_inch_(pixels_per_inch) {}

  // Called by the backend before each page is drawn.
  void StartPage() { pages_.emplace_back(); }

  const std::vector<std::vector<PrintedLine>>& Pages() const { return pages_; }
  const std::string& FontFace() const { return font_face_; }
  int FontHeight() const { return font_height_; }

  Size PageSize() const override { return page_; }
  int PixelsPerInchY() const override { return pixels_per_inch_; }
  void SetFont(const std::string& face, int height_pixels) override {
    font_face_ = face;
    font_height_ = height_pixels;
  }
  int TextWidth(std::string_view text) const override { return static_cast<int>(text.size()) * character_width_; }
  int LineHeight() const override { return line_height_; }
  void DrawText(int x, int y, std::string_view text) override {
    if (pages_.empty()) pages_.emplace_back();
    pages_.back().push_back({x, y, std::string(text)});
  }

 private:
  Size page_;
  int character_width_;
  int line_height_;
  int pixels_per_inch_;
  std::string font_face_;
  int font_height_ = 0;
  std::vector<std::vector<PrintedLine>> pages_;
};

}  // namespace larkspin
