// The screening in the main window: the rules of the working folder read at each peek and when
// rules.txt changes, each listed row screened as it arrives (marked, coloured, its Signals column
// filled), the status line's count of what the rules did, and the pop-up menu's rule commands.
#include "common/format.h"
#include "common/message_box.h"
#include "config/log.h"
#include "main_window/dlg_main.h"
#include "main_window/screening_texts.h"
#include "platform/file_system.h"
#include "res/resources.h"

namespace larkspin {

namespace {
constexpr Colour kTrustedColour = Rgb(0, 110, 0);
constexpr Colour kFlaggedColour = Rgb(190, 100, 0);

// What a new rules.txt says before the user writes the first rule.
constexpr const char* kNewRuleFile =
    "# Larkspin's screening rules, one a line:  ACTION [auto] \"NAME\" TESTS (all must hold)\n"
    "# ACTION is allow, delete, download or flag; README's \"Screening\" tells every test.\n"
    "#   allow     \"The boss\"          from boss@company.example\n"
    "#   delete    \"Casino\"            from @casino.example\n"
    "#   delete    \"Pharma\"            subject /viagra|cialis/\n"
    "#   flag      \"Server says spam\"  signal spam\n";
}  // namespace

void CDlgMain::ReadScreening() {
  screening_.emplace(ReadScreeningInputs(working_directory_, session_.text_encoding));
  ReportRuleFile();
}

void CDlgMain::ReportRuleFile() {
  const std::optional<RuleFileError>& error = screening_->rules.Rules().error;
  if (!error) return;
  const std::string text = RuleFileErrorText(*error);
  SetStatusText(text);
  LogEvent(text);
}

// A changed rules.txt is read again at once, so a mistake in it shows while the user edits.
void CDlgMain::CheckRuleFile() {
  if (!screening_ || !screening_->rules.Changed()) return;
  screening_->rules.Reread();
  if (screening_->rules.Rules().error) ReportRuleFile();
  else SetStatusText(FormatText("%s read: %d rule(s).", kRuleFile, static_cast<int>(screening_->rules.Rules().rules.size())));
}

ScreeningVerdict CDlgMain::VerdictOf(const PeekedRow& row) const {
  return screening_ ? Screen(screening_->Context(), row.message) : ScreeningVerdict();
}

// An all-accounts peek ends logged into its last account only, so its rows are screened but not
// marked: a mark there could never be carried out on its own server.
void CDlgMain::ApplyVerdict(int position, const ScreeningVerdict& verdict) {
  const CMainWindowModel::RuleMark mark = model_.Screened(list_.RowKey(position), verdict, !all_accounts_);
  if (mark == CMainWindowModel::RuleMark::kDeletion) list_.SetRowIcon(position, kIconRowDeleteMark);
  if (mark == CMainWindowModel::RuleMark::kDownload) list_.SetRowIcon(position, kIconRowDownloadMark);
  if (verdict.action || verdict.signals.any()) list_.SetRowToolTip(position, WhyText(verdict));
  if (verdict.action == RuleAction::kAllow) list_.SetRowTextColour(position, kTrustedColour);
  if (verdict.action == RuleAction::kFlag) list_.SetRowTextColour(position, kFlaggedColour);
}

void CDlgMain::ShowRuleCounts() {
  if (screening_ && screening_->rules.Rules().error) return ReportRuleFile();
  std::vector<ScreeningVerdict> verdicts;
  for (const RowId row_id : list_.RowKeys())
    if (const ScreeningVerdict* verdict = model_.VerdictOf(row_id)) verdicts.push_back(*verdict);
  const std::string counts = RuleCountsText(verdicts);
  if (counts.empty()) return;
  SetStatusText(ItemText(kStatusLine) + "    " + counts);
  LogEvent(counts);
}

void CDlgMain::OpenRuleFile() {
  const std::string path = working_directory_ + kRuleFile;
  if (!FileExists(path) && !ReplaceFile(path, kNewRuleFile)) {
    MessageBox("Cannot write " + path, kBoxOk | kBoxIconWarning);
    return;
  }
  OpenInEditor(kRuleFile);
}

// The rule is read at the next peek (and at once by the rule file's watch).
void CDlgMain::AddSenderRule(SenderRule rule) {
  const HeaderRow* row = RowRecord(list_.FirstSelected());
  if (!row) return;
  const std::string line = SenderRuleLine(rule, row->sender_address);
  if (line.empty()) {
    MessageBox("The sender's address cannot be named in a rule: " + row->sender_address, kBoxOk | kBoxIconWarning);
    return;
  }
  if (!AppendLineToFile(working_directory_ + kRuleFile, line)) {
    MessageBox("Cannot write " + working_directory_ + kRuleFile, kBoxOk | kBoxIconWarning);
    return;
  }
  LogEvent("Rule added to " + std::string(kRuleFile) + ": " + line);
  SetStatusText("Rule added: " + line);
}

void CDlgMain::ExplainVerdict() {
  const int position = list_.FirstSelected();
  if (position < 0) return;
  const ScreeningVerdict* verdict = model_.VerdictOf(list_.RowKey(position));
  MessageBox(verdict ? WhyText(*verdict) : "The rules have not seen this message.", kBoxOk | kBoxIconInformation);
}

}  // namespace larkspin
