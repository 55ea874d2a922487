#include "pop3/pop3_capabilities.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace larkspin {
namespace {

using ::testing::ElementsAre;

TEST(Pop3CapabilitiesTest, ListedTagsAreKeptWhateverTheirCase) {
  const Pop3Capabilities listed = ParseCapabilities(
      "TOP\r\nuidl\r\nPipelining\r\nRESP-CODES\r\nSTLS\r\nSASL  PLAIN\tLOGIN\r\nLOGIN-DELAY 900 USER\r\nX-OTHER\r\n");
  EXPECT_TRUE(listed.answered);
  EXPECT_TRUE(listed.top && listed.uidl && listed.pipelining && listed.resp_codes && listed.stls);
  EXPECT_THAT(listed.sasl, ElementsAre("PLAIN", "LOGIN"));
  EXPECT_EQ(listed.login_delay, "900 USER");

  // A tag is a line's first word: a word later on a line, or a longer tag, lists nothing.
  const Pop3Capabilities unlisted = ParseCapabilities("X-TOP PIPELINING\r\nUIDLX\r\nSTLS2\r\n");
  EXPECT_FALSE(unlisted.pipelining || unlisted.uidl || unlisted.stls || unlisted.top);
  EXPECT_TRUE(unlisted.sasl.empty());
}

}  // namespace
}  // namespace larkspin
