#include "mailbox/html_text.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

TEST(HtmlTextTest, DropsTagsAndKeepsTheTextBetweenThem) {
  EXPECT_EQ(StripHtml("<html><body><p class=\"x\">Hello <b>you</b></p></body></html>"), "Hello you");
  EXPECT_EQ(StripHtml("no tags at all"), "no tags at all");
  EXPECT_EQ(StripHtml(""), "");
}

TEST(HtmlTextTest, OnlyAnExactBrTagBecomesALineBreak) {
  EXPECT_EQ(StripHtml("one<br>two<BR>three<Br>four"), "one\ntwo\nthree\nfour");
  EXPECT_EQ(StripHtml("one<br/>two<br />three<br class=x>four"), "onetwothreefour");
}

TEST(HtmlTextTest, AnUnclosedTagDropsTheRest) {
  EXPECT_EQ(StripHtml("kept <a href=\"never closed"), "kept ");
  EXPECT_EQ(StripHtml("<"), "");
}

TEST(HtmlTextTest, AClosingBracketOutsideATagAndEntitiesStay) {
  EXPECT_EQ(StripHtml("a > b &amp; c&nbsp;d"), "a > b &amp; c&nbsp;d");
  // A tag runs to the first ">", whatever is inside it.
  EXPECT_EQ(StripHtml("x<a title=\"<b>\">y"), "x\">y");
}

}  // namespace
}  // namespace larkspin
