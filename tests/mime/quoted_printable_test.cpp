#include "mime/quoted_printable.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/python_check.h"

namespace larkspin {
namespace {

using test_support::RunPython;

std::string Decoded(std::string text) {
  DecodeQuotedPrintable(text);
  return text;
}

// Every escape of the table with the Windows-1252 byte (or bytes) it becomes.
const std::vector<std::pair<std::string, std::string>> kTable = {
    {"=C4", "\xC4"}, {"=D6", "\xD6"}, {"=DC", "\xDC"}, {"=E4", "\xE4"},     {"=F6", "\xF6"},   {"=FC", "\xFC"},
    {"=DF", "\xDF"}, {"=E9", "\xE9"}, {"=E1", "\xE1"}, {"=FA", "\xFA"},     {"=ED", "\xED"},   {"=F3", "\xF3"},
    {"=A9", "\xA9"}, {"=AE", "\xAE"}, {"=F1", "\xF1"}, {"=B2", "\xB2"},     {"=B3", "\xB3"},   {"=D0", " "},
    {"=20", " "},    {"=2D", "-"},    {"=2E", "."},    {"=3D", "="},        {"=B4", "'"},      {"=28", "("},
    {"=29", ")"},    {"=3C", "<"},    {"=3E", ">"},    {"=2C", ","},        {"=26", "&"},      {"=3A", ":"},
    {"=2F", "/"},    {"=B7", "\xB7"}, {"=3F", "?"},    {"=0D=0A", "\r\n"}, {"=\r\n", "\r\n"}, {"&nbsp;", " "},
};

TEST(QuotedPrintableTest, EveryTableRowBecomesItsCharacterInsideText) {
  ASSERT_EQ(kTable.size(), 36u);
  for (const auto& [escape, character] : kTable) {
    EXPECT_EQ(Decoded("x" + escape + "y"), "x" + character + "y") << escape;
  }
}

TEST(QuotedPrintableTest, DecodesWordsOfSeveralEscapes) {
  EXPECT_EQ(Decoded("Gr=FC=DFe"), "Gr\xFC\xDF"
                                  "e");
  EXPECT_EQ(Decoded("a=3Db"), "a=b");
  EXPECT_EQ(Decoded("&nbsp;&nbsp;"), "  ");
  EXPECT_EQ(Decoded(""), "");
}

TEST(QuotedPrintableTest, LeavesEscapesOutsideTheTableAndLowerCaseHexAlone) {
  EXPECT_EQ(Decoded("=E2=82=AC"), "=E2=82=AC");
  EXPECT_EQ(Decoded("=e4 and =fc"), "=e4 and =fc");
  EXPECT_EQ(Decoded("=0D alone"), "=0D alone");
}

TEST(QuotedPrintableTest, KeepsSoftLineBreaksAsLineBreaks) {
  EXPECT_EQ(Decoded("a long line that ends=\r\nand goes on"), "a long line that ends\r\nand goes on");
  EXPECT_EQ(Decoded("one=0D=0Atwo"), "one\r\ntwo");
  // A bare LF after "=" is not a soft break.
  EXPECT_EQ(Decoded("end=\nnext"), "end=\nnext");
}

TEST(QuotedPrintableTest, RowsRunInTableOrderOncePerRow) {
  // "=3D" is decoded after the letter rows, so an escaped equals sign before hex digits stays
  // an escape; and no row runs twice.
  EXPECT_EQ(Decoded("=3DC4"), "=C4");
  EXPECT_EQ(Decoded("=3D3D"), "=3D");
  // "=D0" is a blank and "=B4" a plain apostrophe.
  EXPECT_EQ(Decoded("it=B4s=D0ok"), "it's ok");
}


TEST(DecodeQPTextTest, EscapesAndSoftBreaksAsRfc2045WritesThem) {
  const struct {
    std::string encoded;
    std::string decoded;
  } cases[] = {
      {"Gr=C3=BC=c3=9f", "Gr\xC3\xBC\xC3\x9F"},
      {"joined=\r\nline", "joinedline"},
      {"joined= \t\nline", "joinedline"},
      {"ends in a soft break=", "ends in a soft break"},
      {"ends in a soft break= \t", "ends in a soft break"},
      {"=ZZ and =4 stay", "=ZZ and =4 stay"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeQPText(c.encoded), c.decoded) << c.encoded;
}

TEST(EncodeQPTest, EscapesBytesOutsideThePrintableRange) {
  EXPECT_EQ(EncodeQP("="), "=3D");
  EXPECT_EQ(EncodeQP("\xE4"), "=E4");
  EXPECT_EQ(EncodeQP("a b"), "a b");
  EXPECT_EQ(EncodeQP(std::string("\x00\x7F\x0C", 3)), "=00=7F=0C");
  EXPECT_EQ(EncodeQP("a\tb\r\nc"), "a\tb\r\nc");
}

TEST(EncodeQPTest, WhiteSpaceAtALineEndIsEscaped) {
  EXPECT_EQ(EncodeQP("a \r\nb\t\nc "), "a=20\r\nb=09\nc=20");
  EXPECT_EQ(EncodeQP("a  b"), "a  b");
}

TEST(EncodeQPTest, LongLinesAreCutAtWhiteSpaceOrAfterAnEscape) {
  // No cut point at all: 77 letters, "=", then the rest.
  EXPECT_EQ(EncodeQP(std::string(100, 'a')), std::string(77, 'a') + "=\r\n" + std::string(23, 'a'));
  // A blank at index 70: the first line ends with it.
  std::string line(90, 'b');
  line[70] = ' ';
  EXPECT_EQ(EncodeQP(line), line.substr(0, 71) + "=\r\n" + std::string(19, 'b'));
  // An escape near the end of the window: the cut follows its last digit.
  const std::string escaped = std::string(74, 'c') + "\xE4" + std::string(10, 'c');
  EXPECT_EQ(EncodeQP(escaped), std::string(74, 'c') + "=E4=\r\n" + std::string(10, 'c'));
  // Hard line ends restart the count.
  EXPECT_EQ(EncodeQP(std::string(70, 'd') + "\r\n" + std::string(70, 'd')),
            std::string(70, 'd') + "\r\n" + std::string(70, 'd'));
}

TEST(EncodeQPTest, AForcedCutNeverSplitsAnEscape) {
  // 76 letters then an escape: cutting at 77 bytes would leave "=" alone before the soft break.
  const std::string text = std::string(76, 'e') + "\xE4" + "tail";
  EXPECT_EQ(EncodeQP(text), std::string(76, 'e') + "=\r\n=E4tail");
}

TEST(EncodeQPTest, PythonQuopriDecodesTheOutputToTheInput) {
  std::string text = "Gr\xFC\xDF" "e aus K\xF6ln = 100%\r\n.\r\n" + std::string(200, 'x') + "\r\n";
  for (int i = 0; i < 300; ++i) text += static_cast<char>(i % 7 == 0 ? ' ' : 'A' + i % 26);
  text += "\r\n" + std::string(76, 'f') + "\xE9\xE9\xE9 trailing \t\r\n";
  for (int i = 0; i < 256; ++i) text += static_cast<char>(i == '\r' || i == '\n' ? 'z' : i);
  text += "\r\nend ";
  const std::string encoded = EncodeQP(text);
  for (size_t start = 0, end; (end = encoded.find("\r\n", start)) != std::string::npos; start = end + 2) {
    EXPECT_LE(end - start, 79u) << "line at " << start;
  }
  const std::string decoded = RunPython(
      "import quopri, sys\nsys.stdout.buffer.write(quopri.decodestring(sys.stdin.buffer.read()))\n", encoded);
  EXPECT_EQ(decoded, text);
}

}  // namespace
}  // namespace larkspin
