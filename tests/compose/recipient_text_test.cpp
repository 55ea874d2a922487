// The recipient fields and the umlaut rule as the send step applies them.
#include "compose/recipient_text.h"

#include <gtest/gtest.h>

#include "compose/umlauts.h"

namespace larkspin {
namespace {

TEST(RecipientTextTest, SemicolonsAndBlanksBecomeOneCommaList) {
  const std::string normalized = NormalizeRecipientText("ann@x.y; bob@x.y ,Carl Name");
  EXPECT_EQ(normalized, "ann@x.y,bob@x.y,CarlName");
  EXPECT_EQ(RecipientAddresses(normalized), (std::vector<std::string>{"ann@x.y", "bob@x.y"}));
  EXPECT_EQ(SentCopyRecipientText(normalized), "ann@x.y, bob@x.y, CarlName");
  EXPECT_TRUE(RecipientAddresses("").empty());
  EXPECT_TRUE(RecipientAddresses(",,nobody").empty());
  EXPECT_EQ(RecipientAddresses("a@b,"), (std::vector<std::string>{"a@b"}));
}

TEST(UmlautsTest, SpelledOutInWindows1252) {
  EXPECT_EQ(StripUmlauts("\xE4\xF6\xFC\xC4\xD6\xDC\xDF"), "aeoeueAeOeUess");
  EXPECT_EQ(StripUmlauts("Gr\xFC\xDF Gott \xE9"), "Gruess Gott \xE9");
  // The same letters in UTF-8; other two-byte letters and Windows-1252 bytes stay.
  EXPECT_EQ(StripUmlauts("\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F", TextEncoding::kUtf8), "aeoeueAeOeUess");
  EXPECT_EQ(StripUmlauts("Gr\xC3\xBC\xC3\x9F \xC3\xA9 \xD0\xB4 \xFC", TextEncoding::kUtf8), "Gruess \xC3\xA9 \xD0\xB4 \xFC");
}

}  // namespace
}  // namespace larkspin
