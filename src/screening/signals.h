#pragma once
// Signs of junk read from a message's header alone, before any of its body is downloaded. Each has
// a name that rules use ("signal spam") and a one-line explanation for a row's tool tip. A message
// whose header could not be read shows none: nothing is known about it.
#include <bitset>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "peek/peeked_message.h"

namespace larkspin {

enum class Signal {
  kSpam,             // the server's spam filter says so
  kAuthFail,         // SPF, DKIM or DMARC failed at the receiving server
  kReplyElsewhere,   // replies go to another domain than the sender's
  kNameSpoof,        // the display name holds another address than the sender's
  kNotToMe,          // none of my addresses in To or Cc
  kBulk,             // a mailing list or bulk sender
  kRiskyAttachment,  // a program or disk image attached to a single-part message
};
inline constexpr size_t kSignalCount = 7;
using SignalSet = std::bitset<kSignalCount>;

// "spam", "auth-fail", ... as rules write them.
std::string_view SignalName(Signal signal);
std::optional<Signal> SignalNamed(std::string_view name);
// One line saying what the signal means, for a tool tip.
std::string_view SignalExplanation(Signal signal);
// The names of the signals in signals, in the order of Signal, joined by separator.
std::string SignalNames(const SignalSet& signals, std::string_view separator);

// The signals that hold for message. my_addresses are the user's own addresses; without any,
// "not-to-me" never holds, since nothing tells whether the mail is for the user.
SignalSet SignalsOf(const PeekedMessage& message, const std::vector<std::string>& my_addresses);

// Whether one of addresses equals address, ignoring case.
bool HoldsAddress(const std::vector<std::string>& addresses, std::string_view address);
// Whether To or Cc name one of my_addresses.
bool IsToMe(const PeekedMessage& message, const std::vector<std::string>& my_addresses);

}  // namespace larkspin
