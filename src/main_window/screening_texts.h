#pragma once
// What the main window says of the screening: the Signals column of a row, the Why? box, the
// status line's count of what each rule did at a peek, and a rule file that cannot be read.
#include <string>
#include <vector>

#include "screening/rule_file.h"
#include "screening/screening.h"

namespace larkspin {

// The rule that applies ("address book" for a sender in it) and the signals' names:
// "Casino: spam, bulk", "bulk", or empty.
std::string SignalsColumnText(const ScreeningVerdict& verdict);

// Which rule applies and what each signal means, one line each.
std::string WhyText(const ScreeningVerdict& verdict);

// "Rules: Casino 2, Pharma 1 marked for deletion; Invoices 1 for download; Server says spam 3
// flagged", the rules in the order they first acted; empty when no rule acted. allow rules
// count as "trusted".
std::string RuleCountsText(const std::vector<ScreeningVerdict>& verdicts);

// "rules.txt line 4: REASON; no rule applies until it is mended".
std::string RuleFileErrorText(const RuleFileError& error);

}  // namespace larkspin
