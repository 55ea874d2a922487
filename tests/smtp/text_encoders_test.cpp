// Line ends, dot-stuffing and quoted-printable: the transformations a text body goes through.
#include <gtest/gtest.h>

#include <string>

#include "smtp/dot_stuff.h"
#include "smtp/line_ends.h"
#include "smtp/quoted_printable_encoder.h"
#include "support/python_check.h"

namespace larkspin {
namespace {

using testing::RunPython;

TEST(NormalizeLineEndsTest, EveryKindOfLineEndBecomesCrLf) {
  EXPECT_EQ(NormalizeLineEnds("a\rb\nc\r\nd"), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(NormalizeLineEnds("\r\r\n\n"), "\r\n\r\n\r\n");
  EXPECT_EQ(NormalizeLineEnds("x\r"), "x\r\n");
}

TEST(DotStuffTest, DoublesTheDotThatBeginsALine) {
  EXPECT_EQ(DotStuff("a\r\n.\r\nb"), "a\r\n..\r\nb");
  EXPECT_EQ(DotStuff("a\r\n.b"), "a\r\n..b");
  EXPECT_EQ(DotStuff("end.\r\nx."), "end.\r\nx.");
  EXPECT_EQ(DotStuff("a\r\n..\r\n"), "a\r\n...\r\n");
}

TEST(DotStuffTest, TheVeryStartCountsAsALineStart) {
  // The text goes on the wire right after a line end; an unstuffed dot there would be dropped.
  EXPECT_EQ(DotStuff(".hidden"), "..hidden");
  EXPECT_EQ(DotStuff("."), "..");
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
