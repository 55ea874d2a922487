#pragma once
// Prints one text file on a printer the user picks: the file's path as a heading, then its text
// in 10-point Arial, word-wrapped to the page, page after page, with no margins.
#include <string>
#include <string_view>
#include <vector>

#include "ui/print.h"

namespace larkspin {

class CTextFilePrinter {
 public:
  explicit CTextFilePrinter(std::string path) : path_(std::move(path)) {}

  // Reports an empty path, an unreadable file or a printer error in a message box (each answers
  // kFailed); a cancelled print dialog prints nothing.
  PrintOutcome PrintFile();
  // PrintFile for callers that look at no result: always answers 0.
  int VPrintFile();

 private:
  std::string path_;
};

// The text of a document split into pages: each page takes the longest run of the remaining
// characters whose wrapped lines end above the page's bottom (at least one character, so that a
// page too small for a line still makes progress).
class CTextPages : public CPrintDocument {
 public:
  explicit CTextPages(std::string text) : text_(std::move(text)) {}

  int Paginate(CPrintCanvas& canvas) override;
  void DrawPage(CPrintCanvas& canvas, int page) override;

  // Byte offset where each page begins (after Paginate).
  const std::vector<size_t>& PageStarts() const { return page_starts_; }

 private:
  void SelectFont(CPrintCanvas& canvas) const;
  size_t PageLength(std::string_view remaining, const CPrintCanvas& canvas) const;
  std::string_view PageText(int page) const;

  std::string text_;
  std::vector<size_t> page_starts_;
};

}  // namespace larkspin
