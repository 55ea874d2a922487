#include "common/decimal.h"

#include <climits>

#include <gtest/gtest.h>

namespace larkspin {
namespace {

TEST(DecimalTest, ReadsLikeAtoi) {
  EXPECT_EQ(ParseDecimalInt("42"), 42);
  EXPECT_EQ(ParseDecimalInt("  \t-17xyz"), -17);
  EXPECT_EQ(ParseDecimalInt("+8"), 8);
  EXPECT_EQ(ParseDecimalInt("12k"), 12);
  EXPECT_EQ(ParseDecimalInt("abc"), 0);
  EXPECT_EQ(ParseDecimalInt(""), 0);
  EXPECT_EQ(ParseDecimalInt("- 5"), 0);
}

TEST(DecimalTest, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(ParseDecimalInt("99999999999999999999"), INT_MAX);
  EXPECT_EQ(ParseDecimalInt("-99999999999999999999"), INT_MIN);
  EXPECT_EQ(ParseDecimalU32("4294967295"), 4294967295u);
  EXPECT_EQ(ParseDecimalU32("4294967296"), 4294967295u);
  EXPECT_EQ(ParseDecimalU32("-3"), 0u);
}

}  // namespace
}  // namespace larkspin
