#include "widgets/wrapped_text.h"

#include "ui/print.h"

namespace larkspin {

namespace {

int TabStop(const CPrintCanvas& canvas) {
  const int stop = 8 * canvas.TextWidth("x");
  return stop > 0 ? stop : 1;
}

bool IsBreak(char c) { return c == '\r' || c == '\n'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// End of the widest piece of [begin, limit) that starts a line at begin and fits in width.
size_t FitLine(std::string_view text, size_t begin, size_t limit, int width, const CPrintCanvas& canvas) {
  size_t fitting = begin;  // end of the last whole word that fits (blanks after it included)
  size_t at = begin;
  while (at < limit) {
    size_t word_end = at;
    while (word_end < limit && !IsBlank(text[word_end])) ++word_end;
    if (LineWidth(text.substr(begin, word_end - begin), canvas) > width) break;
    while (word_end < limit && IsBlank(text[word_end])) ++word_end;
    fitting = word_end;
    at = word_end;
  }
  if (at >= limit) return limit;
  if (fitting > begin) return fitting;
  size_t end = begin + 1;  // a word alone too wide: break it, keeping at least one character
  while (end < limit && LineWidth(text.substr(begin, end + 1 - begin), canvas) <= width) ++end;
  return end;
}

void WrapHardLine(std::string_view text, size_t begin, size_t end, int width, const CPrintCanvas& canvas,
                  std::vector<WrappedLine>& lines) {
  if (begin == end) {
    lines.push_back({begin, end});
    return;
  }
  while (begin < end) {
    const size_t next = FitLine(text, begin, end, width, canvas);
    size_t drawn_end = next;
    while (drawn_end > begin && next < end && IsBlank(text[drawn_end - 1])) --drawn_end;
    lines.push_back({begin, drawn_end});
    begin = next;
  }
}

}  // namespace

int LineWidth(std::string_view line, const CPrintCanvas& canvas) {
  int x = 0;
  size_t piece_begin = 0;
  for (size_t i = 0; i <= line.size(); ++i) {
    if (i < line.size() && line[i] != '\t') continue;
    x += canvas.TextWidth(line.substr(piece_begin, i - piece_begin));
    if (i < line.size()) x = (x / TabStop(canvas) + 1) * TabStop(canvas);
    piece_begin = i + 1;
  }
  return x;
}

void DrawLine(std::string_view line, int x, int y, CPrintCanvas& canvas) {
  int at = 0;
  size_t piece_begin = 0;
  for (size_t i = 0; i <= line.size(); ++i) {
    if (i < line.size() && line[i] != '\t') continue;
    const std::string_view piece = line.substr(piece_begin, i - piece_begin);
    if (!piece.empty()) canvas.DrawText(x + at, y, piece);
    at += canvas.TextWidth(piece);
    if (i < line.size()) at = (at / TabStop(canvas) + 1) * TabStop(canvas);
    piece_begin = i + 1;
  }
}

std::vector<WrappedLine> WrapText(std::string_view text, int width, const CPrintCanvas& canvas) {
  std::vector<WrappedLine> lines;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t end = begin;
    while (end < text.size() && !IsBreak(text[end])) ++end;
    WrapHardLine(text, begin, end, width, canvas, lines);
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    begin = end + 1;
  }
  return lines;
}

}  // namespace larkspin
