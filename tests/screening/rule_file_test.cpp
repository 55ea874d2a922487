// Rule lines as users write them, read or refused with the line and the reason.
#include "screening/rule_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace larkspin {
namespace {

struct TestShape {
  RuleTestKind kind;
  std::string text;  // address, domain or field name; empty where the test has none
  uint64_t bytes = 0;
};

struct GoodLine {
  const char* line;
  RuleAction action;
  bool automatic;
  const char* name;
  std::vector<TestShape> tests;
};

const std::vector<GoodLine> kGoodLines = {
    {R"(allow     "The boss"          from boss@company.example)", RuleAction::kAllow, false, "The boss",
     {{RuleTestKind::kFromAddress, "boss@company.example"}}},
    {R"(delete    "Casino"            from @casino.example)", RuleAction::kDelete, false, "Casino",
     {{RuleTestKind::kFromDomainTree, "casino.example"}}},
    {R"(delete    "Pharma"            subject /viagra|cialis/)", RuleAction::kDelete, false, "Pharma",
     {{RuleTestKind::kSubject, ""}}},
    {R"(delete    "Huge strangers"    size > 2M  not-to-me)", RuleAction::kDelete, false, "Huge strangers",
     {{RuleTestKind::kSizeAbove, "", 2 * 1024 * 1024}, {RuleTestKind::kNotToMe, ""}}},
    {R"(download  "Invoices"          from *@billing.example  subject invoice)", RuleAction::kDownload, false,
     "Invoices", {{RuleTestKind::kFromDomain, "billing.example"}, {RuleTestKind::kSubject, ""}}},
    {R"(flag      "Server says spam"  signal spam)", RuleAction::kFlag, false, "Server says spam",
     {{RuleTestKind::kSignal, ""}}},
    {"\xEF\xBB\xBF" "delete auto \"Casino\" from @CASINO.example.\r", RuleAction::kDelete, true, "Casino",
     {{RuleTestKind::kFromDomainTree, "casino.example"}}},
    {R"(flag "Lists" header List-Id header X-Mailer "Mass Mailer" size < 10k to-me)", RuleAction::kFlag, false,
     "Lists",
     {{RuleTestKind::kHeaderPresent, "List-Id"}, {RuleTestKind::kHeader, "X-Mailer"},
      {RuleTestKind::kSizeBelow, "", 10 * 1024}, {RuleTestKind::kToMe, ""}}},
    {R"(delete "Paths" subject /a\/ b/ name "Prize Team")", RuleAction::kDelete, false, "Paths",
     {{RuleTestKind::kSubject, ""}, {RuleTestKind::kName, ""}}},
};

TEST(RuleFile, ReadsEachRuleShapeWithItsTests) {
  for (const GoodLine& good : kGoodLines) {
    SCOPED_TRACE(good.line);
    const RuleFile file = ParseRuleFile(good.line);
    ASSERT_FALSE(file.error) << file.error->reason;
    ASSERT_EQ(file.rules.size(), 1u);
    const ScreeningRule& rule = file.rules[0];
    EXPECT_EQ(rule.action, good.action);
    EXPECT_EQ(rule.automatic, good.automatic);
    EXPECT_EQ(rule.name, good.name);
    ASSERT_EQ(rule.tests.size(), good.tests.size());
    for (size_t i = 0; i < good.tests.size(); ++i) {
      EXPECT_EQ(rule.tests[i].kind, good.tests[i].kind) << "test " << i;
      if (!good.tests[i].text.empty()) {
        EXPECT_EQ(rule.tests[i].text, good.tests[i].text) << "test " << i;
      }
      EXPECT_EQ(rule.tests[i].bytes, good.tests[i].bytes) << "test " << i;
    }
  }
}

TEST(RuleFile, PassesOverCommentsAndBlankLinesAndKeepsTheOrder) {
  const RuleFile file = ParseRuleFile(
      "# action  \"name\"  tests\n"
      "\n"
      "   # indented comment\r\n"
      "flag \"one\" to-me\n"
      "\t\n"
      "delete \"two\" signal bulk");
  ASSERT_FALSE(file.error);
  ASSERT_EQ(file.rules.size(), 2u);
  EXPECT_EQ(file.rules[0].name, "one");
  EXPECT_EQ(file.rules[1].name, "two");
}

struct BadLine {
  const char* text;
  int line;
  const char* reason_part;
};

const std::vector<BadLine> kBadLines = {
    {"allow \"ok\" to-me\nremove \"x\" to-me", 2, "unknown action \"remove\""},
    {"delete Casino from @casino.example", 1, "name\" in quotes is missing"},
    {"delete \"Casino from @casino.example", 1, "closing quote"},
    {"delete \"\" to-me", 1, "name is empty"},
    {"delete \"Everything\"", 1, "has no tests"},
    {"delete auto \"Everything\"   # no tests either", 1, "unknown test \"#\""},
    {"\n\ndelete \"x\" subject /viagra", 3, "closing /"},
    {"delete \"x\" subject /(viagra/", 1, "cannot be read"},
    {"delete \"x\" subject \"\"", 1, "empty phrase"},
    {"delete \"x\" subject", 1, "missing at the end"},
    {"delete \"x\" from casino.example", 1, "from takes an address"},
    {"delete \"x\" from @", 1, "from takes an address"},
    {"delete \"x\" from a@b@c", 1, "from takes an address"},
    {"delete \"x\" from \"a@b.example\"", 1, "missing before"},
    {"delete \"x\" size >= 2M", 1, "size takes > or <"},
    {"delete \"x\" size > 2G", 1, "a size is a number"},
    {"delete \"x\" size > M", 1, "a size is a number"},
    {"delete \"x\" size > 99999999999", 1, "a size is a number"},
    {"delete \"x\" signal junk", 1, "unknown signal \"junk\""},
    {"delete \"x\" header X-Spam: yes", 1, "field name"},
    {"delete \"x\" body viagra", 1, "unknown test \"body\""},
};

TEST(RuleFile, OneBadLineMakesTheWholeFileUnusableWithItsNumberAndReason) {
  for (const BadLine& bad : kBadLines) {
    SCOPED_TRACE(bad.text);
    const std::string text = std::string("allow \"first\" to-me\n") + bad.text + "\nflag \"last\" to-me\n";
    const RuleFile file = ParseRuleFile(text);
    ASSERT_TRUE(file.error);
    EXPECT_EQ(file.error->line, bad.line + 1);
    EXPECT_NE(file.error->reason.find(bad.reason_part), std::string::npos) << file.error->reason;
    EXPECT_TRUE(file.rules.empty());
  }
}

}  // namespace
}  // namespace larkspin
