// Verdicts of a rule file written as users write it, over messages as peeks list them.
#include "screening/screening.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "screening/rule_file.h"

namespace larkspin {
namespace {

constexpr const char* kRules = R"(# action  "name"              tests (all must hold)
allow     "The boss"          from boss@company.example
delete    "Casino"            from @casino.example
delete    "Pharma"            subject /viagra|cialis/
delete    "Huge strangers"    size > 2M  not-to-me
download  "Invoices"          from *@billing.example  subject invoice
flag      "Server says spam"  signal spam
delete auto "Giant"           size > 10M
allow     "Casino news I read" from NEWS@casino.example
)";

constexpr uint32_t kMiB = 1024 * 1024;

struct MatchCase {
  const char* what;
  const char* header;  // nullptr: a header too large to read
  uint32_t size;
  std::optional<RuleAction> action;
  const char* rule;
  bool automatic = false;
  bool in_address_book = false;
};

const std::vector<MatchCase> kCases = {
    {"the boss, whatever the subject", "From: Boss <Boss@Company.example>\r\nTo: anna@example.org\r\nSubject: viagra",
     100, RuleAction::kAllow, "The boss"},
    {"a casino's own domain", "From: win@casino.example\r\nTo: anna@example.org", 100, RuleAction::kDelete, "Casino"},
    {"a casino's subdomain", "From: win@mail.CASINO.example\r\nTo: anna@example.org", 100, RuleAction::kDelete,
     "Casino"},
    {"a domain that merely ends alike", "From: win@notcasino.example\r\nTo: anna@example.org", 100, std::nullopt, ""},
    {"a later allow beats an earlier delete", "From: news@casino.example\r\nTo: anna@example.org", 100,
     RuleAction::kAllow, "Casino news I read"},
    {"a regular expression ignoring case", "From: a@x.example\r\nTo: anna@example.org\r\nSubject: Cheap CIALIS", 100,
     RuleAction::kDelete, "Pharma"},
    {"large and not to me", "From: a@x.example\r\nTo: b@y.example", 3 * kMiB, RuleAction::kDelete, "Huge strangers"},
    {"large but to me", "From: a@x.example\r\nCc: ANNA@example.org", 3 * kMiB, std::nullopt, ""},
    {"exactly 2M is not above 2M", "From: a@x.example\r\nTo: b@y.example", 2 * kMiB, std::nullopt, ""},
    {"an invoice from that domain", "From: bills@billing.example\r\nTo: anna@example.org\r\nSubject: Your INVOICE 42",
     100, RuleAction::kDownload, "Invoices"},
    {"*@domain leaves out subdomains", "From: bills@eu.billing.example\r\nTo: anna@example.org\r\nSubject: invoice",
     100, std::nullopt, ""},
    {"both tests must hold", "From: bills@billing.example\r\nTo: anna@example.org\r\nSubject: Newsletter", 100,
     std::nullopt, ""},
    {"the server's spam verdict", "X-Spam-Flag: YES\r\nFrom: a@x.example\r\nTo: anna@example.org", 100,
     RuleAction::kFlag, "Server says spam"},
    {"the first matching rule wins", "X-Spam-Flag: YES\r\nFrom: a@x.example\r\nTo: anna@example.org\r\nSubject: viagra",
     100, RuleAction::kDelete, "Pharma"},
    {"the address book beats a delete",
     "From: Friend <FRIEND@example.org>\r\nTo: anna@example.org\r\nSubject: viagra joke", 100, RuleAction::kAllow, "",
     false, true},
    {"an allow rule is named before the address book", "From: boss@company.example\r\nSubject: viagra", 100,
     RuleAction::kAllow, "The boss"},
    {"a header too large to read is matched on its size alone", nullptr, 20 * kMiB, RuleAction::kDelete, "Giant",
     true},
    {"nothing else is known of it", nullptr, 3 * kMiB, std::nullopt, ""},
};

TEST(Screening, AllowWinsThenTheAddressBookThenTheFirstMatchingRule) {
  const RuleFile file = ParseRuleFile(kRules);
  ASSERT_FALSE(file.error) << file.error->reason;
  const std::vector<std::string> mine = {"anna@example.org"};
  const std::vector<std::string> address_book = {"friend@example.org", "boss@company.example"};
  const ScreeningContext context{file.rules, mine, address_book};
  for (const MatchCase& test : kCases) {
    SCOPED_TRACE(test.what);
    const PeekedMessage message = test.header
                                      ? MakePeekedMessage(1, "uid", test.size, test.header, TextEncoding::kUtf8)
                                      : HeaderTooLargeMessage(1, "uid", test.size, TextEncoding::kUtf8);
    const ScreeningVerdict verdict = Screen(context, message);
    EXPECT_EQ(verdict.action, test.action);
    EXPECT_EQ(verdict.rule, test.rule);
    EXPECT_EQ(verdict.automatic, test.automatic);
    EXPECT_EQ(verdict.in_address_book, test.in_address_book);
  }
}

TEST(Screening, HeaderTestsLookAtEveryFieldOfTheNameAndTheVerdictCarriesTheSignals) {
  const RuleFile file = ParseRuleFile(
      "flag \"Mass mailer\" header X-Mailer /mass ?mail/ name \"Prize Team\"\n"
      "flag \"Has list id\" header list-id\n");
  ASSERT_FALSE(file.error) << file.error->reason;
  const std::vector<std::string> none;
  const ScreeningContext context{file.rules, none, none};
  const PeekedMessage mailer = MakePeekedMessage(
      1, "", 100, "X-Mailer: Outlook\r\nX-Mailer: MassMail 2\r\nFrom: \"The PRIZE team\" <p@x.example>", TextEncoding::kUtf8);
  EXPECT_EQ(Screen(context, mailer).rule, "Mass mailer");
  const PeekedMessage list = MakePeekedMessage(
      1, "", 100, "List-Id: <l.x.example>\r\nList-Unsubscribe: <mailto:u@x.example>\r\nFrom: p@x.example", TextEncoding::kUtf8);
  const ScreeningVerdict verdict = Screen(context, list);
  EXPECT_EQ(verdict.rule, "Has list id");
  EXPECT_TRUE(verdict.signals[static_cast<size_t>(Signal::kBulk)]);
}

TEST(Screening, RulesWrittenInUtf8MatchClassicTextsToo) {
  const RuleFile file = ParseRuleFile("flag \"Greetings\" subject Grüße name /JÜRGEN/\n");
  ASSERT_FALSE(file.error) << file.error->reason;
  const std::vector<std::string> none;
  const ScreeningContext context{file.rules, none, none};
  const char* header = "From: =?iso-8859-1?q?J=FCrgen?= <j@x.example>\r\nSubject: =?iso-8859-1?q?Gr=FC=DFe?=";
  for (TextEncoding encoding : {TextEncoding::kClassic, TextEncoding::kUtf8}) {
    EXPECT_EQ(Screen(context, MakePeekedMessage(1, "", 100, header, encoding)).rule, "Greetings");
  }
}

}  // namespace
}  // namespace larkspin
