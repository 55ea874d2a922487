// Line ends and dot-stuffing: the transformations a text body goes through besides its encoding.
#include <gtest/gtest.h>

#include <string>

#include "smtp/dot_stuff.h"
#include "common/line_ends.h"

namespace larkspin {
namespace {

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

}  // namespace
}  // namespace larkspin
