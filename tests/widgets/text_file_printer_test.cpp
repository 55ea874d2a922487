#include "widgets/text_file_printer.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "ui/headless/headless_backend.h"
#include "widgets/wrapped_text.h"

namespace larkspin {
namespace {

// Pages of 10 characters by 3 lines: a fourth line would reach the bottom (40 >= 40).
CHeadlessPrinter SmallPrinter() { return CHeadlessPrinter({100, 40}, 10, 10, 72); }

std::vector<std::string> PageLines(const CHeadlessPrinter& printer, size_t page) {
  std::vector<std::string> lines;
  for (const PrintedLine& line : printer.Pages().at(page)) lines.push_back(line.text);
  return lines;
}

std::string Joined(const CTextPages& pages, const std::string& text) {
  std::string joined;
  const std::vector<size_t>& starts = pages.PageStarts();
  for (size_t i = 0; i < starts.size(); ++i) {
    const size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
    joined += text.substr(starts[i], end - starts[i]);
  }
  return joined;
}

TEST(WrappedTextTest, WrapsAtBlanksBreaksLongWordsAndHonoursLineEnds) {
  const CHeadlessPrinter printer = SmallPrinter();
  const std::string text = "one two three\r\nabcdefghijklmno\r\rx\n";
  std::vector<std::string> lines;
  for (const WrappedLine& line : WrapText(text, 100, printer))
    lines.push_back(text.substr(line.begin, line.end - line.begin));
  EXPECT_EQ(lines, (std::vector<std::string>{"one two", "three", "abcdefghij", "klmno", "", "x"}));
  EXPECT_EQ(LineWidth("a\tb", printer), 90) << "a tab jumps to the stop eight characters in";
}

TEST(TextPagesTest, NoCharacterIsDroppedOrRepeatedAtPageBreaks) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "word" + std::to_string(i) + (i % 7 == 6 ? "\r\n" : " ");
  text += "averyveryverylongwordwithoutanyblanks end";
  CTextPages pages(text);
  CHeadlessPrinter printer = SmallPrinter();
  const int count = pages.Paginate(printer);
  EXPECT_GT(count, 5);
  EXPECT_EQ(Joined(pages, text), text);
  for (int page = 0; page < count; ++page) {
    printer.StartPage();
    pages.DrawPage(printer, page);
    EXPECT_LE(printer.Pages().back().size(), 3u);
  }
}

TEST(TextPagesTest, LinesStandOneLineHeightApartAndEachPageStartsAtItsTop) {
  CHeadlessPrinter printer = SmallPrinter();
  CTextPages pages("l1\nl2\nl3\nl4\nl5\n");
  const int count = pages.Paginate(printer);
  for (int page = 0; page < count; ++page) {
    printer.StartPage();
    pages.DrawPage(printer, page);
  }
  std::vector<std::vector<int>> ys;
  for (const std::vector<PrintedLine>& page : printer.Pages()) {
    ys.emplace_back();
    for (const PrintedLine& line : page) ys.back().push_back(line.y);
  }
  EXPECT_EQ(ys, (std::vector<std::vector<int>>{{0, 10, 20}, {0, 10}}));
  EXPECT_EQ(PageLines(printer, 1), (std::vector<std::string>{"l4", "l5"}));
}

TEST(TextPagesTest, AnExactlyFullLastPageGivesNoEmptyPage) {
  CHeadlessPrinter printer = SmallPrinter();
  CTextPages six_lines("l1\nl2\nl3\nl4\nl5\nl6\n");
  EXPECT_EQ(six_lines.Paginate(printer), 2);
  EXPECT_EQ(six_lines.PageStarts(), (std::vector<size_t>{0, 9}));
}

TEST(TextPagesTest, APageTooSmallForOneLineStillTakesACharacterAtATime) {
  CHeadlessPrinter tiny({100, 5}, 10, 10, 72);
  CTextPages pages("abc");
  EXPECT_EQ(pages.Paginate(tiny), 3);
}

class VPrintFileTest : public ::testing::Test {
 protected:
  test_support::TempFolder folder;
  CHeadlessBackend backend;
  CScopedUiBackend installed{backend};
};

TEST_F(VPrintFileTest, AnEmptyFilePrintsItsHeadingOnOnePageInTenPointArial) {
  const std::string path = folder.File("empty.txt");
  test_support::WriteFile(path, "");
  CHeadlessPrinter printer({1000, 1000}, 10, 10, 300);
  backend.QueuePrinter(&printer);
  EXPECT_EQ(CTextFilePrinter(path).VPrintFile(), 0);
  ASSERT_EQ(printer.Pages().size(), 1u);
  EXPECT_EQ(PageLines(printer, 0), std::vector<std::string>{path}) << "blank line, path, blank line";
  EXPECT_EQ(printer.Pages()[0][0].y, 10);
  EXPECT_EQ(printer.FontFace(), "Arial");
  EXPECT_EQ(printer.FontHeight(), 42);
}

TEST_F(VPrintFileTest, FailuresAreReportedAndCancelPrintsNothing) {
  EXPECT_EQ(CTextFilePrinter("").VPrintFile(), 0);
  EXPECT_EQ(CTextFilePrinter(folder.File("missing.txt")).VPrintFile(), 0);
  ASSERT_EQ(backend.MessageBoxes().size(), 2u);
  EXPECT_EQ(backend.MessageBoxes()[0].text, "VPrintFile: Filename not properly set");
  EXPECT_EQ(backend.MessageBoxes()[1].text, "Could not open file for reading.");

  const std::string path = folder.File("letter.txt");
  test_support::WriteFile(path, "Dear Ann");
  backend.QueuePrinter(nullptr);
  EXPECT_EQ(CTextFilePrinter(path).VPrintFile(), 0);
  EXPECT_EQ(backend.MessageBoxes().size(), 2u) << "cancelling the print dialog is silent";
}

}  // namespace
}  // namespace larkspin
