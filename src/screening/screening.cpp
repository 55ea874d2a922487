#include "screening/screening.h"

#include "common/string_tools.h"
#include "common/text_encoding.h"
#include "screening/mail_domains.h"

namespace larkspin {

namespace {
struct MessageFacts {
  const PeekedMessage& message;
  const std::vector<std::string>& my_addresses;
  SignalSet signals;
  std::string from_domain;
  PatternText name;     // the texts as UTF-8, as the rule file is written
  PatternText subject;
};

bool Holds(const RuleTest& test, const MessageFacts& facts) {
  const PeekedMessage& message = facts.message;
  if (test.kind == RuleTestKind::kSizeAbove) return message.size > test.bytes;
  if (test.kind == RuleTestKind::kSizeBelow) return message.size < test.bytes;
  if (!message.header_read) return false;
  switch (test.kind) {
    case RuleTestKind::kFromAddress:
      return EqualsIgnoringCase(message.from.address, test.text);
    case RuleTestKind::kFromDomain:
      return facts.from_domain == test.text;
    case RuleTestKind::kFromDomainTree:
      return IsDomainOrSubdomain(facts.from_domain, test.text);
    case RuleTestKind::kName:
      return test.pattern.Matches(facts.name);
    case RuleTestKind::kSubject:
      return test.pattern.Matches(facts.subject);
    case RuleTestKind::kHeaderPresent:
      return message.header.Has(test.text);
    case RuleTestKind::kHeader:
      for (const std::string& value : message.header.All(test.text))
        if (test.pattern.Matches(TextAsUtf8(value, message.encoding))) return true;
      return false;
    case RuleTestKind::kToMe:
      return IsToMe(message, facts.my_addresses);
    case RuleTestKind::kNotToMe:
      return facts.signals[static_cast<size_t>(Signal::kNotToMe)];
    case RuleTestKind::kSignal:
      return facts.signals[static_cast<size_t>(test.signal)];
    case RuleTestKind::kSizeAbove:
    case RuleTestKind::kSizeBelow:
      break;
  }
  return false;
}

bool Matches(const ScreeningRule& rule, const MessageFacts& facts) {
  for (const RuleTest& test : rule.tests)
    if (!Holds(test, facts)) return false;
  return true;
}

void Apply(const ScreeningRule& rule, ScreeningVerdict& verdict) {
  verdict.action = rule.action;
  verdict.rule = rule.name;
  verdict.automatic = rule.automatic;
}
}  // namespace

ScreeningVerdict Screen(const ScreeningContext& context, const PeekedMessage& message) {
  ScreeningVerdict verdict;
  verdict.signals = SignalsOf(message, context.my_addresses);
  const MessageFacts facts{message,
                           context.my_addresses,
                           verdict.signals,
                           AddressDomain(message.from.address),
                           PatternText(TextAsUtf8(message.from.display_name, message.encoding)),
                           PatternText(TextAsUtf8(message.subject, message.encoding))};
  for (const ScreeningRule& rule : context.rules) {
    if (rule.action == RuleAction::kAllow && Matches(rule, facts)) {
      Apply(rule, verdict);
      return verdict;
    }
  }
  if (message.header_read && HoldsAddress(context.address_book, message.from.address)) {
    verdict.action = RuleAction::kAllow;
    verdict.in_address_book = true;
    return verdict;
  }
  for (const ScreeningRule& rule : context.rules) {
    if (rule.action != RuleAction::kAllow && Matches(rule, facts)) {
      Apply(rule, verdict);
      return verdict;
    }
  }
  return verdict;
}

}  // namespace larkspin
