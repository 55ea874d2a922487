#include "smtp/header_fold.h"

#include <vector>

namespace larkspin {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The positions a fold may go before: the last blank of each run of blanks inside the value,
// except the one that follows the field name.
std::vector<size_t> FoldPoints(std::string_view line) {
  std::vector<size_t> points;
  const size_t colon = line.find(':');
  size_t first_word = colon == std::string_view::npos ? 0 : colon + 1;
  while (first_word < line.size() && IsBlank(line[first_word])) ++first_word;
  for (size_t i = first_word; i + 1 < line.size(); ++i) {
    if (IsBlank(line[i]) && !IsBlank(line[i + 1])) points.push_back(i);
  }
  return points;
}

// Cuts every line of folded (lines separated by CR LF) that is longer than 998.
std::string WithLongRunsCut(const std::string& folded) {
  std::string out;
  size_t line_length = 0;
  for (const char c : folded) {
    if (c == '\r' || c == '\n') {
      out += c;
      line_length = 0;
      continue;
    }
    if (line_length == kMaxHeaderLineLength) {
      out += "\r\n ";
      line_length = 1;
    }
    out += c;
    ++line_length;
  }
  return out;
}
}  // namespace

std::string FoldedHeaderLine(std::string_view line) {
  std::string folded;
  size_t line_length = 0;
  size_t start = 0;
  std::vector<size_t> points = FoldPoints(line);
  points.push_back(line.size());
  for (const size_t end : points) {
    const std::string_view piece = line.substr(start, end - start);
    if (start > 0 && line_length + piece.size() > kFoldedLineLength) {
      folded += "\r\n";
      line_length = 0;
    }
    folded += piece;
    line_length += piece.size();
    start = end;
  }
  return WithLongRunsCut(folded) + "\r\n";
}

}  // namespace larkspin
