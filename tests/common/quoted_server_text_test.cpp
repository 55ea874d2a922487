#include "common/quoted_server_text.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

TEST(QuotedServerTextTest, BlanksControlCharactersAndKeepsShortTextsWhole) {
  EXPECT_EQ(QuotedServerText("-ERR no such message"), "-ERR no such message");
  EXPECT_EQ(QuotedServerText("+OK\r\nFrom: x\tY\x1B[2J\x7F"), "+OK  From: x Y [2J ");
  EXPECT_EQ(QuotedServerText("Gr\xC3\xBC\xC3\x9F" "e \xE4"), "Gr\xC3\xBC\xC3\x9F" "e \xE4");
  EXPECT_EQ(QuotedServerText(std::string(kMaxQuotedServerText, 'a')), std::string(kMaxQuotedServerText, 'a'));
}

TEST(QuotedServerTextTest, CutsALongTextToTheLimitWithAnEllipsis) {
  const std::string garbage(16 * 1024, '\x01');
  EXPECT_EQ(QuotedServerText(garbage), std::string(kMaxQuotedServerText - 3, ' ') + "...");
  EXPECT_EQ(QuotedServerText(std::string(kMaxQuotedServerText + 1, 'a')),
            std::string(kMaxQuotedServerText - 3, 'a') + "...");
  // A UTF-8 letter at the cut goes whole.
  const std::string umlauts = std::string(kMaxQuotedServerText - 4, 'a') + std::string(50, 'b').replace(0, 2, "\xC3\xBC");
  EXPECT_EQ(QuotedServerText(umlauts), std::string(kMaxQuotedServerText - 4, 'a') + "...");
}

}  // namespace
}  // namespace larkspin
