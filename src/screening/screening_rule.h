#pragma once
// One line of rules.txt, read: what the rule does, its name, and the tests that must all hold.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "screening/signals.h"
#include "screening/text_pattern.h"

namespace larkspin {

enum class RuleAction { kAllow, kDelete, kDownload, kFlag };
inline constexpr RuleAction kRuleActions[] = {RuleAction::kAllow, RuleAction::kDelete, RuleAction::kDownload,
                                              RuleAction::kFlag};

// "allow", "delete", "download" or "flag", as rules write it.
constexpr std::string_view ActionName(RuleAction action) {
  switch (action) {
    case RuleAction::kAllow: return "allow";
    case RuleAction::kDelete: return "delete";
    case RuleAction::kDownload: return "download";
    case RuleAction::kFlag: return "flag";
  }
  return "";
}

enum class RuleTestKind {
  kFromAddress,    // From is text, ignoring case
  kFromDomain,     // From's domain is text ("*@domain")
  kFromDomainTree, // From's domain is text or one of its subdomains ("@domain")
  kName,           // From's display name matches pattern
  kSubject,        // Subject matches pattern
  kHeaderPresent,  // a field called text exists
  kHeader,         // a field called text matches pattern
  kSizeAbove,      // size > bytes
  kSizeBelow,      // size < bytes
  kToMe,           // To or Cc names one of my addresses
  kNotToMe,        // To and Cc name none of them
  kSignal,         // signal holds
};

struct RuleTest {
  RuleTestKind kind = RuleTestKind::kToMe;
  std::string text;  // the address, domain (lower case) or field name
  CTextPattern pattern;  // empty: matches any text
  uint64_t bytes = 0;
  Signal signal = Signal::kSpam;
};

struct ScreeningRule {
  RuleAction action = RuleAction::kFlag;
  bool automatic = false;  // "auto": an automatic peek may carry it out without asking
  std::string name;
  std::vector<RuleTest> tests;  // never empty
};

}  // namespace larkspin
