#include "cli/screen_lines.h"

#include "cli/terminal_text.h"
#include "common/format.h"
#include "peek/row_texts.h"

namespace larkspin {

namespace {
constexpr const char* kNothing = "-";

std::string SenderColumn(const PeekedMessage& message) {
  const std::string name = TextAsUtf8(message.from.display_name, message.encoding);
  if (name.empty()) return message.from.address;
  return message.from.address.empty() ? name : name + " <" + message.from.address + ">";
}
}  // namespace

std::string ActionColumn(const ScreeningVerdict& verdict) {
  return verdict.action ? std::string(ActionName(*verdict.action)) : kNothing;
}

std::string RuleColumn(const ScreeningVerdict& verdict) {
  if (verdict.in_address_book) return "(address book)";
  return verdict.rule.empty() ? kNothing : verdict.rule;
}

std::string SignalsColumn(const SignalSet& signals) {
  const std::string names = SignalNames(signals, ",");
  return names.empty() ? kNothing : names;
}

// A header too large to read shows the peek's note as its subject.
std::string ScreenLine(const PeekedRow& row, const ScreeningVerdict& verdict) {
  const RowTexts texts = MakeRowTexts(row.message, row.record.account);
  const std::string from = row.message.header_read ? SenderColumn(row.message) : texts.from;
  return FormatText("%d\t%s\t%s\t%s\t%s\t%s\t%s", row.message.number, ActionColumn(verdict).c_str(),
                    TerminalText(RuleColumn(verdict)).c_str(), SignalsColumn(verdict.signals).c_str(),
                    TerminalText(from).c_str(), TerminalText(texts.subject).c_str(),
                    TerminalText(texts.account).c_str());
}

std::string TallyLine(const ScreenTally& tally, bool applied) {
  std::string line = FormatText("Screened messages: %d    ", tally.messages);
  for (const RuleAction action : kRuleActions)
    line += FormatText(" %s %d%s", std::string(ActionName(action)).c_str(), tally.actions[static_cast<int>(action)],
                       action == RuleAction::kFlag ? "" : ",");
  if (applied) line += FormatText("     deleted %d, downloaded %d", tally.deleted, tally.downloaded);
  return line;
}

}  // namespace larkspin
