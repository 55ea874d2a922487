// The printed pages of a text file, printed to a file by the toolkit's printing framework and
// read back from the PDF by poppler's pdftotext: every line where it belongs, page after page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "ui/wx/wx_backend.h"
#include "ui/wx/wx_print.h"
#include "widgets/text_file_printer.h"

namespace larkspin {
namespace {

const std::string kBuildFolder = LARKSPIN_SCREENSHOT_DIR;

bool RunCommand(const std::string& command) { return std::system(command.c_str()) == 0; }

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// A word pdftotext found, with its page (from 0) and its box in points from the page's top.
struct FoundWord {
  int page = 0;
  double top = 0;
  double bottom = 0;
  std::string text;
};

std::vector<FoundWord> WordsOf(const std::string& bbox_html) {
  std::vector<FoundWord> words;
  const std::regex item(R"re(<page |<word xMin="[^"]*" yMin="([^"]*)" xMax="[^"]*" yMax="([^"]*)">([^<]*)</word>)re");
  int page = -1;
  for (std::sregex_iterator it(bbox_html.begin(), bbox_html.end(), item), end; it != end; ++it) {
    if ((*it)[1].length() == 0) {
      ++page;
      continue;
    }
    words.push_back({page, std::stod((*it)[1]), std::stod((*it)[2]), (*it)[3]});
  }
  return words;
}

TEST(WxPrintTest, PrintedLinesStandOneBelowTheOtherOnPageAfterPage) {
  std::string text = "\n/home/anna/Larkspin/mailbox1/msg01.txt\n\n";
  constexpr int kLines = 150;
  for (int line = 1; line <= kLines; ++line) text += "Line" + std::to_string(1000 + line) + " of the letter\r\n";
  CTextPages pages(text);
  const std::string ps = kBuildFolder + "/printed_letter.ps";
  const std::string pdf = kBuildFolder + "/printed_letter.pdf";
  ASSERT_EQ(PrintToPostScriptFile(pages, ps), PrintOutcome::kPrinted);
  ASSERT_TRUE(RunCommand("ps2pdf '" + ps + "' '" + pdf + "'"));
  ASSERT_TRUE(RunCommand("pdftotext -bbox '" + pdf + "' '" + pdf + ".html'"));
  ASSERT_TRUE(RunCommand("pdftoppm -png -r 50 -f 1 -l 1 -singlefile '" + pdf + "' '" + kBuildFolder + "/printed_letter_page1'"));

  std::vector<FoundWord> lines;
  for (const FoundWord& word : WordsOf(ReadAll(pdf + ".html")))
    if (word.text.rfind("Line", 0) == 0) lines.push_back(word);
  ASSERT_EQ(lines.size(), static_cast<size_t>(kLines));
  EXPECT_EQ(lines.back().page + 1, static_cast<int>(pages.PageStarts().size()));
  EXPECT_GE(pages.PageStarts().size(), 2u);
  for (size_t i = 1; i < lines.size(); ++i) {
    const FoundWord& above = lines[i - 1];
    const FoundWord& below = lines[i];
    EXPECT_EQ(below.text, "Line" + std::to_string(1000 + i + 1)) << "lines in their order";
    if (below.page == above.page) {
      EXPECT_GE(below.top, above.bottom - 0.5) << below.text << " overlaps " << above.text;
    } else {
      EXPECT_EQ(below.page, above.page + 1) << below.text;
      EXPECT_LT(below.top, above.top) << below.text << " starts a new page at its top";
    }
  }
}

}  // namespace
}  // namespace larkspin

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return larkspin::RunWithWxBackend(argc, argv, [] { return RUN_ALL_TESTS(); });
}
