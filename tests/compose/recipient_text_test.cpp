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
}

}  // namespace
}  // namespace larkspin
