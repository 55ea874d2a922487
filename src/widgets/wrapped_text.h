#pragma once
// Word wrapping as the printer draws text: lines end at CR LF, CR or LF (a break at the very end
// starts no further line); a line wraps after the last blank that still lets it fit, and a word
// wider than the line is broken after its last character that fits. Tabs jump to the next stop
// eight average characters apart.
#include <string_view>
#include <vector>

namespace larkspin {

class CPrintCanvas;

struct WrappedLine {
  size_t begin = 0;  // byte range of the text drawn on the line
  size_t end = 0;
  bool operator==(const WrappedLine&) const = default;
};

std::vector<WrappedLine> WrapText(std::string_view text, int width, const CPrintCanvas& canvas);

// Width of one line with its tabs expanded.
int LineWidth(std::string_view line, const CPrintCanvas& canvas);
// Draws one line at (x, y), tabs expanded.
void DrawLine(std::string_view line, int x, int y, CPrintCanvas& canvas);

}  // namespace larkspin
