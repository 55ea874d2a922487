#pragma once
// Printing: the backend shows the print dialog and hands a document a canvas for the printer's
// pages. The document first splits its text into pages, then draws them one by one. Tests give
// the headless backend a canvas of their own to see exactly what lands on each page.
#include <string>
#include <string_view>

#include "ui/geometry.h"

namespace larkspin {

class CPrintCanvas {
 public:
  virtual ~CPrintCanvas() = default;
  // The printable area in device pixels (origin at the top left).
  virtual Size PageSize() const = 0;
  virtual int PixelsPerInchY() const = 0;
  // Selects a font of the given face whose character height is height_pixels.
  virtual void SetFont(const std::string& face, int height_pixels) = 0;
  // Width of one line of text (tabs not expanded) and the line height, in the current font.
  virtual int TextWidth(std::string_view text) const = 0;
  virtual int LineHeight() const = 0;
  virtual void DrawText(int x, int y, std::string_view text) = 0;
};

enum class PrintOutcome {
  kPrinted,
  kCancelled,  // the user closed the print dialog
  kFailed,     // the printer or the print job reported an error
};

class CPrintDocument {
 public:
  virtual ~CPrintDocument() = default;
  // Splits the document into pages for this canvas; returns the number of pages (at least 1).
  virtual int Paginate(CPrintCanvas& canvas) = 0;
  // Draws page (from 0) on the canvas, which the backend has prepared as a fresh page.
  virtual void DrawPage(CPrintCanvas& canvas, int page) = 0;
};

}  // namespace larkspin
