#include "ui/cell_text.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

TEST(FitCellTextTest, TooLongTextsEndInDotsAndNeverOverflow) {
  const auto measure = [](std::string_view text) { return static_cast<int>(text.size()) * 5; };
  EXPECT_EQ(FitCellText("abc", 25, measure), " abc ");
  EXPECT_EQ(FitCellText("abcdef", 35, measure), " abc...");
  EXPECT_LE(measure(FitCellText("a long subject line", 40, measure)), 40);
  EXPECT_EQ(FitCellText("abc", 10, measure), "...");
  // UTF-8 texts lose whole characters; Classic ones bytes.
  EXPECT_EQ(FitCellText("\xC3\xA4\xF0\x9F\x98\x80xyz", 45, measure, TextEncoding::kUtf8), " \xC3\xA4...");
  EXPECT_EQ(FitCellText("\xC3\xA4\xF0\x9F\x98\x80xyz", 45, measure), " \xC3\xA4\xF0\x9F\x98...");
}

}  // namespace
}  // namespace larkspin
