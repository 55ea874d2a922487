// Signals read from headers shaped as Gmail, Outlook, Fastmail and SpamAssassin write them.
#include "screening/signals.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screening/mail_domains.h"

namespace larkspin {
namespace {

const std::vector<std::string> kMine = {"anna@example.org", " Anna.Berg@Example.COM "};

struct HeaderCase {
  const char* shape;
  const char* header;
  std::vector<Signal> expected;
};

const std::vector<HeaderCase> kCases = {
    {"Gmail newsletter: all passes, one-click unsubscribe",
     "Delivered-To: anna@example.org\r\n"
     "Authentication-Results: mx.google.com;\r\n"
     "       dkim=pass header.i=@shop.example header.s=20230601;\r\n"
     "       spf=pass (google.com: domain of news@shop.example designates 209.85.220.41 as permitted sender)\r\n"
     "       smtp.mailfrom=news@shop.example;\r\n"
     "       dmarc=pass (p=REJECT sp=REJECT dis=NONE) header.from=shop.example\r\n"
     "From: Shop News <news@mail.shop.example>\r\n"
     "Reply-To: care@shop.example\r\n"
     "To: anna@example.org\r\n"
     "Subject: Spring sale\r\n"
     "List-Unsubscribe: <mailto:u@shop.example>,\r\n <https://shop.example/u?id=1>\r\n"
     "List-Unsubscribe-Post: List-Unsubscribe=One-Click",
     {Signal::kBulk}},
    {"Outlook: no authserv-id, SPF and DMARC fail, replies to a free mailer, not to me",
     "Authentication-Results: spf=fail (sender IP is 203.0.113.9)\r\n"
     " smtp.mailfrom=payroll-example.net; dkim=none (message not signed)\r\n"
     " header.d=none;dmarc=fail action=oreject header.from=example.net;\r\n"
     " compauth=fail reason=000\r\n"
     "From: Payroll <payroll@example.net>\r\n"
     "To: team@example.org\r\n"
     "CC: Chen <chen@example.cn>\r\n"
     "Reply-To: payroll.desk@freemail.example\r\n"
     "Subject: Salary adjustment",
     {Signal::kAuthFail, Signal::kReplyElsewhere, Signal::kNotToMe}},
    {"Fastmail: the topmost result passes, a forged lower one fails; a name showing another address",
     "Authentication-Results: mx6.messagingengine.com;\r\n"
     "    dkim=pass (2048-bit rsa key sha256) header.d=phish.example;\r\n"
     "    spf=pass smtp.mailfrom=x@phish.example; dmarc=none header.from=phish.example\r\n"
     "Authentication-Results: forged.example; spf=fail; dkim=fail; dmarc=fail\r\n"
     "From: \"service@paypal.example\" <x@phish.example>\r\n"
     "To: Anna <ANNA.BERG@example.com>\r\n"
     "Subject: Your account",
     {Signal::kNameSpoof}},
    {"SpamAssassin: flagged, a single-part program, bulk precedence",
     "X-Spam-Flag: YES\r\n"
     "X-Spam-Score: 7.1\r\n"
     "X-Spam-Status: Yes, score=7.1 required=5.0 tests=BAYES_99,\r\n\tHTML_MESSAGE autolearn=no\r\n"
     "Precedence: Bulk\r\n"
     "From: billing@vendor.example\r\n"
     "To: anna@example.org\r\n"
     "Content-Type: application/octet-stream; name=\"invoice.pdf.exe\"",
     {Signal::kSpam, Signal::kBulk, Signal::kRiskyAttachment}},
    {"SpamAssassin: not flagged, score below the required; an SPF softfail is no failure",
     "Authentication-Results: mx.example.org; spf=softfail smtp.mailfrom=friend@example.org\r\n"
     "X-Spam-Flag: NO\r\n"
     "X-Spam-Status: No, score=4.2 required=5.0 tests=HTML_MESSAGE\r\n"
     "From: friend@example.org\r\nTo: anna@example.org\r\nContent-Type: text/plain; name=notes.txt",
     {}},
    {"older SpamAssassin: no flag, hits above the required",
     "X-Spam-Status: Yes, hits=6.3 required=5.0 tests=FORGED_MUA\r\n"
     "From: x@spam.example\r\nTo: anna@example.org",
     {Signal::kSpam}},
    {"a multipart header names no attachment, even with a risky-looking boundary",
     "From: a@example.org\r\nTo: anna@example.org\r\nPrecedence: list\r\n"
     "Content-Type: Multipart/Mixed; boundary=\"part.exe\"",
     {Signal::kBulk}},
    {"an RFC 2231 file name and a program type",
     "From: a@example.org\r\nTo: anna@example.org\r\n"
     "Content-Type: application/x-msdownload\r\n"
     "Content-Disposition: attachment; filename*=UTF-8''Rechnung%20M%C3%A4rz.ZIP.js",
     {Signal::kRiskyAttachment}},
    {"Reply-To within the same registrable domain, ignoring case, and a name that is the address",
     "From: \"info@bank.co.uk\" <info@Bank.CO.uk>\r\nReply-To: help@secure.bank.co.uk\r\n"
     "To: undisclosed-recipients:;\r\nCc: anna@example.org",
     {}},
    {"Reply-To on a look-alike domain under the same country suffix",
     "From: info@bank.co.uk\r\nReply-To: help@bank-help.co.uk\r\nTo: anna@example.org",
     {Signal::kReplyElsewhere}},
};

TEST(Signals, HoldExactlyAsTheHeaderShows) {
  for (const HeaderCase& test : kCases) {
    SCOPED_TRACE(test.shape);
    const PeekedMessage message = MakePeekedMessage(1, "uid", 2000, test.header, TextEncoding::kUtf8);
    SignalSet expected;
    for (Signal signal : test.expected) expected[static_cast<size_t>(signal)] = true;
    const SignalSet signals = SignalsOf(message, kMine);
    for (size_t i = 0; i < kSignalCount; ++i)
      EXPECT_EQ(signals[i], expected[i]) << SignalName(static_cast<Signal>(i));
  }
}

TEST(Signals, NoneHoldWithoutAHeaderAndNotToMeNeedsMyAddresses) {
  EXPECT_TRUE(SignalsOf(HeaderTooLargeMessage(1, "uid", 5000000, TextEncoding::kUtf8), kMine).none());
  const PeekedMessage stranger = MakePeekedMessage(1, "uid", 100, "From: a@x.example\r\nTo: b@y.example", TextEncoding::kUtf8);
  EXPECT_TRUE(SignalsOf(stranger, kMine)[static_cast<size_t>(Signal::kNotToMe)]);
  EXPECT_FALSE(SignalsOf(stranger, {})[static_cast<size_t>(Signal::kNotToMe)]);
}

TEST(Signals, EachNameLeadsBackToItsSignalAndHasAnExplanation) {
  for (size_t i = 0; i < kSignalCount; ++i) {
    const Signal signal = static_cast<Signal>(i);
    EXPECT_EQ(SignalNamed(SignalName(signal)), signal);
    EXPECT_FALSE(SignalExplanation(signal).empty());
  }
  EXPECT_FALSE(SignalNamed("junk"));
}

TEST(MailDomains, RegistrableDomainKeepsTwoLabelsOrThreeUnderACountrysGenericLabel) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"mail.Shop.Example", "shop.example"}, {"example", "example"},           {"example.org", "example.org"},
      {"a.b.shop.co.uk", "shop.co.uk"},      {"bank.com.au", "bank.com.au"},   {"co.uk", "co.uk"},
      {"mx.uni.ac.jp", "uni.ac.jp"},         {"news.shop.de", "shop.de"},      {"x.co.example", "co.example"},
      {"user.github.io", "github.io"},
  };
  for (const auto& [domain, registrable] : cases) EXPECT_EQ(RegistrableDomain(domain), registrable) << domain;
  EXPECT_EQ(AddressDomain("Anna@Mail.Example.ORG."), "mail.example.org");
  EXPECT_TRUE(IsDomainOrSubdomain("a.casino.example", "casino.example"));
  EXPECT_FALSE(IsDomainOrSubdomain("notcasino.example", "casino.example"));
}

}  // namespace
}  // namespace larkspin
