#include "main_window/screening_texts.h"

#include <utility>

#include "common/format.h"

namespace larkspin {

namespace {
constexpr const char* kAddressBookRule = "address book";

std::string RuleOf(const ScreeningVerdict& verdict) {
  return verdict.in_address_book ? kAddressBookRule : verdict.rule;
}

const char* ActionCounted(RuleAction action) {
  switch (action) {
    case RuleAction::kAllow: return "trusted";
    case RuleAction::kDelete: return "marked for deletion";
    case RuleAction::kDownload: return "for download";
    case RuleAction::kFlag: return "flagged";
  }
  return "";
}

// The rules of one action with how often each acted, in the order they first did.
using RuleCounts = std::vector<std::pair<std::string, int>>;

void Count(RuleCounts& counts, const std::string& rule) {
  for (auto& [name, count] : counts)
    if (name == rule) {
      ++count;
      return;
    }
  counts.emplace_back(rule, 1);
}
}  // namespace

std::string SignalsColumnText(const ScreeningVerdict& verdict) {
  const std::string rule = RuleOf(verdict);
  const std::string signals = SignalNames(verdict.signals, ", ");
  if (rule.empty() || signals.empty()) return rule + signals;
  return rule + ": " + signals;
}

std::string WhyText(const ScreeningVerdict& verdict) {
  std::string text;
  if (verdict.in_address_book)
    text = "The sender is in the address book: no rule marks the message for deletion.";
  else if (verdict.action)
    text = FormatText("Rule \"%s\" (%s) applies.", verdict.rule.c_str(), std::string(ActionName(*verdict.action)).c_str());
  else
    text = "No rule applies.";
  for (size_t i = 0; i < kSignalCount; ++i) {
    if (!verdict.signals[i]) continue;
    const Signal signal = static_cast<Signal>(i);
    text += FormatText("\n%s: %s", std::string(SignalName(signal)).c_str(), std::string(SignalExplanation(signal)).c_str());
  }
  if (verdict.signals.none()) text += "\nNo signal of junk in the header.";
  return text;
}

std::string RuleCountsText(const std::vector<ScreeningVerdict>& verdicts) {
  RuleCounts counts[std::size(kRuleActions)];
  for (const ScreeningVerdict& verdict : verdicts)
    if (verdict.action) Count(counts[static_cast<size_t>(*verdict.action)], RuleOf(verdict));
  std::string text;
  for (const RuleAction action : {RuleAction::kDelete, RuleAction::kDownload, RuleAction::kFlag, RuleAction::kAllow}) {
    const RuleCounts& of_action = counts[static_cast<size_t>(action)];
    if (of_action.empty()) continue;
    text += text.empty() ? "Rules: " : "; ";
    for (size_t i = 0; i < of_action.size(); ++i)
      text += FormatText("%s%s %d", i == 0 ? "" : ", ", of_action[i].first.c_str(), of_action[i].second);
    text += std::string(" ") + ActionCounted(action);
  }
  return text;
}

std::string RuleFileErrorText(const RuleFileError& error) {
  return FormatText("%s line %d: %s; no rule applies until it is mended", kRuleFile, error.line, error.reason.c_str());
}

}  // namespace larkspin
