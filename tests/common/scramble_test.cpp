#include "common/scramble.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

TEST(ScrambleTest, ShiftsEachByteByItsPosition) {
  std::string text = "abc";
  EXPECT_EQ(ScrambleText(text), 3u);
  EXPECT_EQ(text, "fff");

  std::string empty;
  EXPECT_EQ(ScrambleText(empty), 0u);
  EXPECT_EQ(empty, "");
}

TEST(ScrambleTest, UnscrambleRestoresEveryByteAtEveryPosition) {
  std::string all_bytes;
  for (int repeat = 0; repeat < 3; ++repeat)  // longer than 256 so positions wrap around
    for (int b = 0; b < 256; ++b) all_bytes += static_cast<char>(b);
  std::string text = all_bytes;
  ScrambleText(text);
  EXPECT_NE(text, all_bytes);
  EXPECT_EQ(UnscrambleText(text), all_bytes.size());
  EXPECT_EQ(text, all_bytes);
}

}  // namespace
}  // namespace larkspin
