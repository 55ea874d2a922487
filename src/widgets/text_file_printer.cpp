#include "widgets/text_file_printer.h"

#include <fstream>
#include <iterator>

#include "common/message_box.h"
#include "ui/backend.h"
#include "widgets/wrapped_text.h"

namespace larkspin {

namespace {
constexpr int kFontPoints = 10;
constexpr const char* kFontFace = "Arial";
}  // namespace

PrintOutcome CTextFilePrinter::PrintFile() {
  if (path_.empty()) {
    MessageBoxF(kBoxOk, "VPrintFile: Filename not properly set");
    return PrintOutcome::kFailed;
  }
  std::ifstream file(path_, std::ios::binary);
  if (!file) {
    MessageBoxF(kBoxOk, "Could not open file for reading.");
    return PrintOutcome::kFailed;
  }
  std::string text = "\n" + path_ + "\n\n";
  text.append(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  CTextPages pages(std::move(text));
  const PrintOutcome outcome = UiBackend().Print(nullptr, pages);
  if (outcome == PrintOutcome::kFailed) MessageBoxF(kBoxOk, "The printer reported an error: %s was not printed.", path_.c_str());
  return outcome;
}

int CTextFilePrinter::VPrintFile() {
  PrintFile();
  return 0;
}

void CTextPages::SelectFont(CPrintCanvas& canvas) const {
  const int height = (kFontPoints * canvas.PixelsPerInchY() + 36) / 72;
  canvas.SetFont(kFontFace, height);
}

int CTextPages::Paginate(CPrintCanvas& canvas) {
  SelectFont(canvas);
  page_starts_.clear();
  size_t begin = 0;
  do {
    page_starts_.push_back(begin);
    begin += PageLength(std::string_view(text_).substr(begin), canvas);
  } while (begin < text_.size());
  return static_cast<int>(page_starts_.size());
}

// The measured height of a prefix never shrinks as the prefix grows, so the longest prefix that
// ends above the bottom is found by doubling and then halving instead of one character at a time.
size_t CTextPages::PageLength(std::string_view remaining, const CPrintCanvas& canvas) const {
  const Size page = canvas.PageSize();
  const auto fits = [&](size_t n) {
    return static_cast<long>(WrapText(remaining.substr(0, n), page.width, canvas).size()) * canvas.LineHeight() <
           page.height;
  };
  if (remaining.empty()) return 0;
  size_t good = 1;  // always at least one character
  size_t bad = 2;
  while (bad <= remaining.size() && fits(bad)) {
    good = bad;
    bad *= 2;
  }
  if (bad > remaining.size()) {
    if (fits(remaining.size())) return remaining.size();
    bad = remaining.size();
  }
  while (bad - good > 1) {
    const size_t middle = good + (bad - good) / 2;
    (fits(middle) ? good : bad) = middle;
  }
  return good;
}

std::string_view CTextPages::PageText(int page) const {
  const size_t begin = page_starts_.at(static_cast<size_t>(page));
  const size_t end = static_cast<size_t>(page) + 1 < page_starts_.size() ? page_starts_[page + 1] : text_.size();
  return std::string_view(text_).substr(begin, end - begin);
}

void CTextPages::DrawPage(CPrintCanvas& canvas, int page) {
  SelectFont(canvas);
  const std::string_view text = PageText(page);
  int y = 0;
  for (const WrappedLine& line : WrapText(text, canvas.PageSize().width, canvas)) {
    DrawLine(text.substr(line.begin, line.end - line.begin), 0, y, canvas);
    y += canvas.LineHeight();
  }
}

}  // namespace larkspin
