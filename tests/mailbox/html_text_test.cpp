#include "mailbox/html_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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


struct HtmlCase {
  std::string html;
  std::string text;
};

const std::vector<HtmlCase> kHtmlCases = {
    {"", ""},
    {"plain words", "plain words"},
    {"caf&eacute; &euro;5 &ouml;l&nbsp;x &#8364; &#x263A; &amp;&lt;&gt; &unknown;",
     "caf\xC3\xA9 \xE2\x82\xAC" "5 \xC3\xB6l x \xE2\x82\xAC \xE2\x98\xBA &<> &unknown;"},
    {"<html><head><title>T</title><style>p{}</style></head><body><script>x()</script>a<!-- c -->b</body></html>",
     "ab"},
    {"  lots   of\r\n\twhite \n space  ", "lots of white space"},
    {"<p>one</p><p>two</p>\n<div>three</div><div><div>four</div></div>", "one\r\n\r\ntwo\r\n\r\nthree\r\nfour"},
    {"<p></p><p>&nbsp;</p><br><br><p>x</p><p></p><br><br><br><br>y<br>z", "x\r\n\r\ny\r\nz"},
    {"a<br>b<br><br>c<br/><br/><br/>d", "a\r\nb\r\n\r\nc\r\n\r\nd"},
    {"<h1>Title</h1>text<hr>after<blockquote>quoted</blockquote>end",
     "Title\r\n\r\ntext\r\n\r\nafter\r\n\r\nquoted\r\n\r\nend"},
    {"<pre>  keep\n    this\r\n\n  </pre><p>a  b</p>", "  keep\r\n    this\r\n\r\n  \r\n\r\na b"},
    {"Items:<ul><li>one</li><li>two <b>bold</b></li></ul>After", "Items:\r\n- one\r\n- two bold\r\nAfter"},
    {"<table><tr><th>Name</th><th>Value</th></tr><tr><td>a</td><td>1</td></tr></table>", "Name Value\r\na 1"},
    {"<a href=\"https://x.example/a\">Site</a>, <a href=\" https://x.example/b \">https://x.example/b</a>",
     "Site <https://x.example/a>, https://x.example/b"},
    {"<a href=\"#top\">Top</a> <a href=\"JavaScript:go()\">Go</a> <a href=\"mailto:a@b.example\">a@b.example</a> "
     "<a href=\"mailto:a@b.example\">Write</a> <a href=\"https://i.example\"><img src=x></a> <a>bare</a>",
     "Top Go a@b.example Write <mailto:a@b.example> https://i.example bare"},
    {"<meta charset=\"iso-8859-1\"><p>Gr\xC3\xBC\xC3\x9F" "e</p>", "Gr\xC3\xBC\xC3\x9F" "e"},
    {"<b>unclosed <i>tags <p>and <div>stray</span> ends", "unclosed tags\r\n\r\nand\r\n\r\nstray ends"},
};

TEST(HtmlToTextTest, RendersEachDocumentOfTheTable) {
  for (const HtmlCase& test : kHtmlCases) EXPECT_EQ(HtmlToText(test.html), test.text) << test.html;
}

TEST(HtmlToTextTest, DeepNestingKeepsTheTextLibxml2ReadsAndNeverCrashes) {
  std::string nested;
  for (int i = 0; i < 100; ++i) nested += "<div><span>";
  EXPECT_EQ(HtmlToText(nested + "deep"), "deep");
  for (int i = 0; i < 100000; ++i) nested += "<div><span>";
  EXPECT_TRUE(HtmlToText("top" + nested + "deep").starts_with("top"));
}

}  // namespace
}  // namespace larkspin
