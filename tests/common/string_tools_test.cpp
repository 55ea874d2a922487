#include "common/string_tools.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

TEST(BetweenTest, TakesTheTextBetweenTheFirstStartMarkAndTheNextEndMark) {
  EXPECT_EQ(Between("Anna <anna@example.org> <other>", "<", ">"), "anna@example.org");
  // The end mark is searched only after the start mark.
  EXPECT_EQ(Between("a> <b>", "<", ">"), "b");
  EXPECT_EQ(Between("=?iso-8859-1?q?Gr=FC=DFe?= und", "=?iso-8859-1?q?", "?="), "Gr=FC=DFe");
}

TEST(BetweenTest, IsEmptyWhenAMarkIsMissing) {
  EXPECT_EQ(Between("no marks", "<", ">"), "");
  EXPECT_EQ(Between("open <only", "<", ">"), "");
  EXPECT_EQ(Between("close> only", "<", ">"), "");
  EXPECT_EQ(Between("<>", "<", ">"), "");
}

TEST(ReplaceAllTest, ReplacesTheFirstOrEveryOccurrenceAndCountsThem) {
  std::string text = "a-b-c";
  EXPECT_EQ(ReplaceAll(text, "-", "+", ReplaceScope::kFirst), 1u);
  EXPECT_EQ(text, "a+b-c");
  text = "a-b-c";
  EXPECT_EQ(ReplaceAll(text, "-", "--", ReplaceScope::kAll), 2u);
  EXPECT_EQ(text, "a--b--c");
  EXPECT_EQ(ReplaceAll(text, "x", "y", ReplaceScope::kAll), 0u);
  EXPECT_EQ(text, "a--b--c");
}

TEST(ReplaceAllTest, NeverSearchesAnInsertedReplacementAgain) {
  std::string text = "=3D3D";
  EXPECT_EQ(ReplaceAll(text, "=3D", "=", ReplaceScope::kAll), 1u);
  EXPECT_EQ(text, "=3D");
  // Occurrences are taken left to right without overlapping.
  text = "aaa";
  EXPECT_EQ(ReplaceAll(text, "aa", "X", ReplaceScope::kAll), 1u);
  EXPECT_EQ(text, "Xa");
}

TEST(ReplaceAllTest, AnEmptyPatternReplacesNothing) {
  std::string text = "abc";
  EXPECT_EQ(ReplaceAll(text, "", "x", ReplaceScope::kAll), 0u);
  EXPECT_EQ(text, "abc");
}

TEST(EqualsIgnoringCaseTest, IgnoresOnlyTheCaseOfAsciiLetters) {
  struct Case {
    std::string_view a, b;
    bool equal;
  };
  for (const Case& c : std::initializer_list<Case>{{"STARTTLS", "starttls", true},
                                                   {"Username:", "username:", true},
                                                   {"", "", true},
                                                   {"SSL", "SSL ", false},
                                                   {"\xC4", "\xE4", false},  // Windows-1252 letters stay as they are
                                                   {"[", "{", false}}) {
    EXPECT_EQ(EqualsIgnoringCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
  }
}

}  // namespace
}  // namespace larkspin
