#pragma once
// The lines "larkspin screen" prints: one tab-separated line per message (message number,
// action, rule, signals, From, Subject, Account), "-" in a column that has nothing to say, and
// the closing count of what the rules did.
#include <string>

#include "peek/mailbox_events.h"
#include "screening/screening.h"

namespace larkspin {

// What screening counted, and with --apply what was carried out.
struct ScreenTally {
  int messages = 0;
  int actions[4] = {};  // by RuleAction
  int deleted = 0;
  int downloaded = 0;
};

// The action ("allow", "delete", ...), the rule's name or "(address book)", and the signals'
// names joined by ",".
std::string ActionColumn(const ScreeningVerdict& verdict);
std::string RuleColumn(const ScreeningVerdict& verdict);
std::string SignalsColumn(const SignalSet& signals);

// The message's line, without its line end; From is "Name <address>" (or the address alone).
std::string ScreenLine(const PeekedRow& row, const ScreeningVerdict& verdict);

// "Screened messages: 30     allow 3, delete 5, download 2, flag 1", and with applied
// "     deleted 5, downloaded 2".
std::string TallyLine(const ScreenTally& tally, bool applied);

}  // namespace larkspin
