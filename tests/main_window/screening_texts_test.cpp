// What the main window says of verdicts, and the rules it adds for a sender read back as rules.
#include <gtest/gtest.h>

#include "main_window/screening_texts.h"
#include "screening/rule_lines.h"

namespace larkspin::test_support {
namespace {

ScreeningVerdict Verdict(std::optional<RuleAction> action, std::string rule, SignalSet signals = {},
                         bool in_address_book = false) {
  ScreeningVerdict verdict;
  verdict.action = action;
  verdict.rule = std::move(rule);
  verdict.signals = signals;
  verdict.in_address_book = in_address_book;
  return verdict;
}

SignalSet Signals(std::initializer_list<Signal> signals) {
  SignalSet set;
  for (const Signal signal : signals) set.set(static_cast<size_t>(signal));
  return set;
}

TEST(ScreeningTextsTest, TheColumnAndTheCountsNameRulesAndSignals) {
  const ScreeningVerdict casino = Verdict(RuleAction::kDelete, "Casino", Signals({Signal::kSpam, Signal::kBulk}));
  const ScreeningVerdict friend_ = Verdict(RuleAction::kAllow, "", {}, true);
  EXPECT_EQ(SignalsColumnText(casino), "Casino: spam, bulk");
  EXPECT_EQ(SignalsColumnText(friend_), "address book");
  EXPECT_EQ(SignalsColumnText(Verdict(std::nullopt, "", Signals({Signal::kNotToMe}))), "not-to-me");
  EXPECT_EQ(SignalsColumnText(Verdict(std::nullopt, "")), "");

  EXPECT_EQ(RuleCountsText({casino, Verdict(RuleAction::kFlag, "Spam"), friend_, casino,
                            Verdict(RuleAction::kDelete, "Pharma"), Verdict(std::nullopt, "")}),
            "Rules: Casino 2, Pharma 1 marked for deletion; Spam 1 flagged; address book 1 trusted");
  EXPECT_EQ(RuleCountsText({Verdict(std::nullopt, "", Signals({Signal::kSpam}))}), "");

  const std::string why = WhyText(casino);
  EXPECT_EQ(why.substr(0, why.find('\n')), "Rule \"Casino\" (delete) applies.");
  EXPECT_NE(why.find("\nbulk: "), std::string::npos);
}

TEST(SenderRuleLineTest, EachLineReadsBackAsTheRuleItNames) {
  struct Case {
    SenderRule rule;
    const char* address;
    const char* line;
    RuleAction action;
  };
  const Case cases[] = {
      {SenderRule::kBlockSender, "x@Shop.example", "delete \"Blocked sender x@Shop.example\" from x@Shop.example",
       RuleAction::kDelete},
      {SenderRule::kBlockDomain, "x@Shop.example", "delete \"Blocked domain shop.example\" from @shop.example",
       RuleAction::kDelete},
      {SenderRule::kAllowSender, "boss@company.example",
       "allow \"Allowed sender boss@company.example\" from boss@company.example", RuleAction::kAllow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string line = SenderRuleLine(c.rule, c.address);
    EXPECT_EQ(line, c.line);
    const RuleFile file = ParseRuleFile(line);
    ASSERT_FALSE(file.error);
    ASSERT_EQ(file.rules.size(), 1u);
    EXPECT_EQ(file.rules[0].action, c.action);
  }
  for (const char* unfit : {"", "nobody", "@example.org", "a b@example.org", "a\"b@example.org", "a#b@example.org"})
    EXPECT_EQ(SenderRuleLine(SenderRule::kBlockSender, unfit), "") << unfit;
}

}  // namespace
}  // namespace larkspin::test_support
