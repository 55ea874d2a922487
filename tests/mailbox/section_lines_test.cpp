#include "mailbox/section_lines.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "mailbox/line_pieces.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::TempFolder;
using test_support::WriteFile;
using ::testing::ElementsAre;

TEST(SectionLinesTest, ClassifiesEmptyDataAndHeaderLines) {
  EXPECT_EQ(ClassifySectionLine("\n"), SectionLineKind::kEmpty);
  EXPECT_EQ(ClassifySectionLine("QUJD+/9=\n"), SectionLineKind::kData);
  EXPECT_EQ(ClassifySectionLine("QUJD"), SectionLineKind::kData);
  EXPECT_EQ(ClassifySectionLine("Thanks\n"), SectionLineKind::kData);
  EXPECT_EQ(ClassifySectionLine("Hello there\n"), SectionLineKind::kHeader);
  EXPECT_EQ(ClassifySectionLine("--boundary\n"), SectionLineKind::kHeader);
  EXPECT_EQ(ClassifySectionLine("QUJD\r\n"), SectionLineKind::kHeader);
}

TEST(SectionLinesTest, ADataLineMayEndInBlanksAndTabsStartingWithABlank) {
  EXPECT_EQ(ClassifySectionLine("QUJD \t \n"), SectionLineKind::kData);
  EXPECT_EQ(ClassifySectionLine("QUJD\t \n"), SectionLineKind::kHeader);
  EXPECT_EQ(ClassifySectionLine("  \n"), SectionLineKind::kData);
  EXPECT_EQ(ClassifySectionLine("\t\n"), SectionLineKind::kHeader);
}

TEST(SectionLinesTest, WordsAreRunsOfTokenCharacters) {
  EXPECT_THAT(HeaderWords("Content-Type: text/plain; name=\"a~b_c.txt\"\n"),
              ElementsAre("Content-Type", "text/plain", "name", "a~b_c.txt"));
  EXPECT_THAT(HeaderWords("\tname=C:\\dir\\x\xE4y.txt\n"), ElementsAre("name", "C", "\\dir\\x", "y.txt"));
}

TEST(SectionLinesTest, TheNameIsTheWordAfterTheLastNameKeyword) {
  EXPECT_EQ(NameParameter(HeaderWords("Content-Type: image/gif; NAME=first.gif; name=\"second.gif\"")), "second.gif");
  EXPECT_EQ(NameParameter(HeaderWords("Content-Disposition: attachment; filename=a.txt")), "");
  EXPECT_EQ(NameParameter(HeaderWords("Content-Type: text/plain; name=")), "");
  EXPECT_TRUE(MatchesKeyword("content-transfer-ENCODING", "Content-Transfer-Encoding"));
  EXPECT_FALSE(MatchesKeyword("Content-Types", "Content-Type"));
}

std::vector<std::string> Pieces(const std::string& content) {
  TempFolder folder;
  WriteFile(folder.File("in.txt"), content);
  CLinePieceReader reader;
  EXPECT_TRUE(reader.Open(folder.File("in.txt")));
  std::vector<std::string> pieces;
  for (std::string piece; reader.Next(piece);) pieces.push_back(piece);
  return pieces;
}

TEST(LinePiecesTest, CrLfReadsAsLfAndALoneCrStays) {
  EXPECT_THAT(Pieces("one\r\ntwo\rthree\nfour"), ElementsAre("one\n", "two\rthree\n", "four"));
  EXPECT_THAT(Pieces("a\r\r\nb"), ElementsAre("a\r\n", "b"));
}

TEST(LinePiecesTest, LongLinesComeInPiecesOf255Bytes) {
  EXPECT_THAT(Pieces(std::string(600, 'x') + "\r\n"),
              ElementsAre(std::string(255, 'x'), std::string(255, 'x'), std::string(90, 'x') + "\n"));
  // A line of exactly 255 bytes leaves its line end as a piece of its own.
  EXPECT_THAT(Pieces(std::string(255, 'y') + "\r\nz"), ElementsAre(std::string(255, 'y'), "\n", "z"));
}

TEST(LinePiecesTest, ACrLfAcrossTheReadBufferBoundaryIsOneLineEnd) {
  const std::string first_line(65535 - 1, 'a');  // its CR is the buffer's last byte
  std::vector<std::string> pieces = Pieces("b" + first_line + "\r\nnext\n");
  ASSERT_FALSE(pieces.empty());
  EXPECT_EQ(pieces[pieces.size() - 2].back(), '\n');
  EXPECT_EQ(pieces.back(), "next\n");
  size_t total = 0;
  for (const std::string& piece : pieces) total += piece.size();
  EXPECT_EQ(total, 1 + first_line.size() + 1 + 5);
}

TEST(LinePiecesTest, AMissingFileDoesNotOpen) {
  CLinePieceReader reader;
  EXPECT_FALSE(reader.Open("/nonexistent/file"));
  std::string piece;
  EXPECT_FALSE(reader.Next(piece));
}

}  // namespace
}  // namespace larkspin
