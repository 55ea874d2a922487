#pragma once
// The verdict on one listed message: which rule applies and which signals hold. An allow rule
// that matches wins wherever it stands; a sender in the address book is allowed next (it is never
// marked for deletion); otherwise the first matching rule of the others applies. A message whose
// header could not be read is matched on its size alone: every other test fails for it.
#include <optional>
#include <string>
#include <vector>

#include "peek/peeked_message.h"
#include "screening/screening_rule.h"
#include "screening/signals.h"

namespace larkspin {

struct ScreeningVerdict {
  std::optional<RuleAction> action;   // nullopt: no rule applies
  std::string rule;                   // the rule's name; empty for no rule and for the address book
  bool automatic = false;             // the rule said auto
  bool in_address_book = false;       // allowed because the sender is in the address book
  SignalSet signals;
};

struct ScreeningContext {
  const std::vector<ScreeningRule>& rules;
  const std::vector<std::string>& my_addresses;
  const std::vector<std::string>& address_book;  // the address book's addresses
};

ScreeningVerdict Screen(const ScreeningContext& context, const PeekedMessage& message);

}  // namespace larkspin
