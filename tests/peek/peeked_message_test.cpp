// The facts of a listed message from one table of headers shaped as real servers and mailers
// write them.
#include "peek/peeked_message.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace larkspin {
namespace {

struct Facts {
  std::string from_address, from_name;
  std::vector<std::string> to, cc, reply_to;  // addresses
  std::string subject;
  std::string date;  // "yyyy-mm-dd hh:mm:ss zone-minutes", empty for none
  std::string message_id, in_reply_to, list_id, unsubscribe, unsubscribe_post;
  std::string spam_flag;  // "yes", "no" or ""
  std::string spam_score;  // "%.1f" or ""
  std::string spf, dkim, dmarc;
};

struct HeaderCase {
  const char* shape;
  TextEncoding encoding;
  const char* header;
  Facts facts;
};

const std::vector<HeaderCase> kCases = {
    {"Gmail, comment-form From, several To, folded Authentication-Results", TextEncoding::kClassic,
     "Delivered-To: anna@example.org\r\n"
     "Authentication-Results: mx.google.com;\r\n"
     "       dkim=pass header.i=@shop.example header.s=20230601 header.b=Qx3Z;\r\n"
     "       spf=pass (google.com: domain of news@shop.example designates 209.85.220.41 as permitted sender) "
     "smtp.mailfrom=news@shop.example;\r\n"
     "       dmarc=pass (p=REJECT sp=REJECT dis=NONE) header.from=shop.example\r\n"
     "From: news@shop.example (Shop News)\r\n"
     "To: anna@example.org, \"Berg, Ben\" <ben@example.org>\r\n"
     "Subject: Spring sale\r\n"
     "Date: Tue, 3 Mar 2026 21:17:44 +0100 (CET)\r\n"
     "Message-ID: <abc.123@shop.example>\r\n"
     "List-Id: Shop News <news.shop.example>\r\n"
     "List-Unsubscribe: <mailto:u@shop.example>,\r\n <https://shop.example/u?id=1>\r\n"
     "List-Unsubscribe-Post: List-Unsubscribe=One-Click",
     {"news@shop.example", "Shop News", {"anna@example.org", "ben@example.org"}, {}, {}, "Spring sale",
      "2026-03-03 21:17:44 60", "<abc.123@shop.example>", "", "Shop News <news.shop.example>",
      "<mailto:u@shop.example>, <https://shop.example/u?id=1>", "List-Unsubscribe=One-Click", "", "", "pass", "pass",
      "pass"}},
    {"Outlook, no authserv-id, encoded Subject folded over two words, a reply", TextEncoding::kUtf8,
     "Authentication-Results: spf=softfail (sender IP is 40.107.22.51)\r\n"
     " smtp.mailfrom=example.net; dkim=fail (signature did not verify)\r\n"
     " header.d=example.net;dmarc=fail action=quarantine\r\n"
     " header.from=example.net;compauth=fail reason=001\r\n"
     "From: =?utf-8?B?SsO8cmdlbiBNw7xsbGVy?= <juergen@example.net>\r\n"
     "To: team@example.org\r\n"
     "CC: Chen <chen@example.cn>, dora@example.org\r\n"
     "Reply-To: office@example.net\r\n"
     "Subject: =?utf-8?Q?Gr=C3=BC=C3=9Fe_aus?=\r\n =?utf-8?Q?_M=C3=BCnchen?=\r\n"
     "Date: Fri, 9 Jan 2026 19:32:40 +0000\r\n"
     "In-Reply-To: <first@example.org>\r\n"
     "X-Spam-Flag: YES\r\n"
     "X-Spam-Status: Yes, score=7.3 required=5.0 tests=BAYES_99",
     {"juergen@example.net", "J\xC3\xBCrgen M\xC3\xBCller", {"team@example.org"},
      {"chen@example.cn", "dora@example.org"}, {"office@example.net"}, "Gr\xC3\xBC\xC3\x9F" "e aus M\xC3\xBCnchen",
      "2026-01-09 19:32:40 0", "", "<first@example.org>", "", "", "", "yes", "7.3", "softfail", "fail", "fail"}},
    {"Fastmail, several Authentication-Results (the first counts), spam score of its own", TextEncoding::kClassic,
     "Authentication-Results: mx3.messagingengine.com;\r\n"
     "    dkim=pass (2048-bit rsa key sha256) header.d=example.com header.b=Ab1;\r\n"
     "    dmarc=none policy.published-domain-policy=none (p=none,d=none);\r\n"
     "    iprev=pass smtp.remote-ip=203.0.113.7 (mail.example.com);\r\n"
     "    spf=neutral smtp.mailfrom=club@example.com;\r\n"
     "    x-aligned-from=pass (Address match)\r\n"
     "Authentication-Results: relay.example.net; spf=fail\r\n"
     "From: \"=?iso-8859-1?q?B=E4rbel?=\" <baerbel@example.com>\r\n"
     "Subject: =?iso-8859-1?q?Vereinsfest=20im=20M=E4rz?=\r\n"
     "Date: 24 Feb 2026 11:05:47 -0500\r\n"
     "X-Spam-Flag: no\r\n"
     "X-Spam-Score: -0.2\r\n"
     "X-Spam-Status: No, score=1.0",
     {"baerbel@example.com", "B\xE4rbel", {}, {}, {}, "Vereinsfest im M\xE4rz", "2026-02-24 11:05:47 -300", "", "",
      "", "", "", "no", "-0.2", "neutral", "pass", "none"}},
    {"missing fields, an unreadable date, no addresses", TextEncoding::kClassic,
     "Received: from x by y\r\n"
     "To: undisclosed-recipients:;\r\n"
     "Date: sometime soon",
     {"", "", {}, {}, {}, "", "", "", "", "", "", "", "", "", "", "", ""}},
};

std::vector<std::string> AddressesOf(const std::vector<MailAddress>& list) {
  std::vector<std::string> addresses;
  for (const MailAddress& address : list) addresses.push_back(address.address);
  return addresses;
}

std::string DateOf(const std::optional<MailDateTime>& date) {
  if (!date) return "";
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d %d", date->year, date->month, date->day, date->hour,
                date->minute, date->second, date->zone_minutes);
  return text;
}

std::string ScoreOf(const std::optional<double>& score) {
  if (!score) return "";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", *score);
  return text;
}

TEST(PeekedMessageTest, FactsOfRealShapedHeaders) {
  for (const HeaderCase& c : kCases) {
    SCOPED_TRACE(c.shape);
    const PeekedMessage message = MakePeekedMessage(7, "uid-7", 4096, c.header, c.encoding);
    const Facts& want = c.facts;
    EXPECT_EQ(message.number, 7);
    EXPECT_EQ(message.unique_id, "uid-7");
    EXPECT_EQ(message.size, 4096u);
    EXPECT_EQ(message.from.address, want.from_address);
    EXPECT_EQ(message.from.display_name, want.from_name);
    EXPECT_EQ(AddressesOf(message.to), want.to);
    EXPECT_EQ(AddressesOf(message.cc), want.cc);
    EXPECT_EQ(AddressesOf(message.reply_to), want.reply_to);
    EXPECT_EQ(message.subject, want.subject);
    EXPECT_EQ(DateOf(message.date), want.date);
    EXPECT_EQ(message.message_id, want.message_id);
    EXPECT_EQ(message.in_reply_to, want.in_reply_to);
    EXPECT_EQ(message.list_id, want.list_id);
    EXPECT_EQ(message.list_unsubscribe, want.unsubscribe);
    EXPECT_EQ(message.list_unsubscribe_post, want.unsubscribe_post);
    EXPECT_EQ(message.spam.flagged ? (*message.spam.flagged ? "yes" : "no") : "", want.spam_flag);
    EXPECT_EQ(ScoreOf(message.spam.score), want.spam_score);
    EXPECT_EQ(message.authentication.spf, want.spf);
    EXPECT_EQ(message.authentication.dkim, want.dkim);
    EXPECT_EQ(message.authentication.dmarc, want.dmarc);
    EXPECT_EQ(message.header.Text(), c.header);  // anything else stays readable
  }
}

TEST(PeekedMessageTest, AHeaderTooLargeToReadLeavesOnlyTheListedFacts) {
  const PeekedMessage message = HeaderTooLargeMessage(3, "u3", 5u << 20, TextEncoding::kUtf8);
  EXPECT_FALSE(message.header_read);
  EXPECT_EQ(message.number, 3);
  EXPECT_EQ(message.unique_id, "u3");
  EXPECT_EQ(message.size, 5u << 20);
  EXPECT_EQ(message.header.Text(), "");
}

}  // namespace
}  // namespace larkspin
