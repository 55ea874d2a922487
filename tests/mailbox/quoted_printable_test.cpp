#include "mailbox/quoted_printable.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace larkspin {
namespace {

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

}  // namespace
}  // namespace larkspin
