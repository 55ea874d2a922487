#include "cli/screen_command.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "cli/cli_account.h"
#include "cli/command_log.h"
#include "cli/peek_printer.h"
#include "cli/peek_scope.h"
#include "cli/screen_lines.h"
#include "cli/terminal_text.h"
#include "common/format.h"
#include "config/log.h"
#include "config/startup_settings.h"
#include "screening/screening_inputs.h"

namespace larkspin {

namespace {
constexpr int kUsageError = 2;
constexpr int kRuleFileError = 3;

struct ScreenArguments {
  PeekScopeChoice scope;
  bool apply = false;
};

bool ParseScreenArguments(const CommandArguments& arguments, ScreenArguments& parsed) {
  CommandArguments scope_arguments = arguments;
  const auto apply = std::find(scope_arguments.begin(), scope_arguments.end(), "--apply");
  parsed.apply = apply != scope_arguments.end();
  if (parsed.apply) scope_arguments.erase(apply);
  return ParsePeekScope(scope_arguments, parsed.scope);
}

// A listed message with what the rules say of it.
struct ScreenedRow {
  PeekedRow row;
  ScreeningVerdict verdict;
};

// Prints each listed message's line and keeps the rows of one account's peek; counts what the
// session carried out.
class CScreenPrinter : public CPeekPrinter {
 public:
  CScreenPrinter(const ScreeningContext& context, ScreenTally& tally) : context_(context), tally_(tally) {}

  void OnHeaderRow(const PeekedRow& row) override {
    ScreenedRow screened{row, Screen(context_, row.message)};
    std::printf("%s\n", ScreenLine(row, screened.verdict).c_str());
    ReportUnreadHeader(row);
    ++tally_.messages;
    if (screened.verdict.action) ++tally_.actions[static_cast<int>(*screened.verdict.action)];
    rows.push_back(std::move(screened));
  }
  void OnPeekTotal(const PeekTotal&) override {}
  void OnMessageDeleted(RowId) override {
    ++deletions_sent_;
    ++tally_.deleted;
  }
  void OnDeleteRefused(const ServerFailure& failure) override { PrintProblem(ServerFailureText(failure)); }
  void OnMarkDropped(RowId) override { PrintProblem("a message to delete or download changed since it was listed"); }
  // Deleted messages go only at a QUIT the server accepts.
  void OnServerFailure(const ServerFailure& failure) override {
    if (failure.command == "Disconnect" && deletions_sent_ > 0) {
      PrintProblem(FormatText("%d deletion(s) not carried out: %s", deletions_sent_, failure.reply.c_str()));
      tally_.deleted -= deletions_sent_;
      return;
    }
    CPeekPrinter::OnServerFailure(failure);
  }
  void OnDownloadResult(const DownloadOutcome& outcome) override {
    if (outcome.result.stored && outcome.result.whole && outcome.result.code >= 0) {
      ++tally_.downloaded;
      return;
    }
    PrintProblem(FormatText("message %d not stored whole (see the log)", outcome.record.message_number));
  }

  std::vector<ScreenedRow> rows;

 private:
  const ScreeningContext& context_;
  ScreenTally& tally_;
  int deletions_sent_ = 0;
};

void DownloadMatched(CMailboxSession& session, int account_number, CScreenPrinter& printer) {
  for (const ScreenedRow& screened : printer.rows) {
    if (screened.verdict.action != RuleAction::kDownload || !session.Connected()) continue;
    session.Download({screened.row.record, account_number, true, false}, printer);
  }
}

void DeleteMatched(CMailboxSession& session, CScreenPrinter& printer) {
  std::vector<DeleteOrder> orders;
  for (size_t position = 0; position < printer.rows.size(); ++position) {
    const ScreenedRow& screened = printer.rows[position];
    if (screened.verdict.action != RuleAction::kDelete) continue;
    const HeaderRow& record = screened.row.record;
    DeleteOrder order{record.row_id, record.message_number, static_cast<int>(position - orders.size()),
                      record.identity, record.connection, record.deletion};
    order.record.rule = screened.verdict.rule;
    orders.push_back(std::move(order));
  }
  if (!orders.empty() && session.Connected()) session.DeleteMarked(orders, printer);
}

// One account's peek, screened; with apply its downloads and deletions on the same connection,
// which the QUIT commits.
void ScreenAccount(int account_number, bool apply, const ScreeningContext& context, CMailboxSession& session,
                   ScreenTally& tally, bool& failed) {
  CScreenPrinter printer(context, tally);
  const std::string unknown = UnknownAccountText(account_number);
  if (!unknown.empty()) {
    printer.PrintProblem(unknown);
  } else {
    CNoPrompt no_prompt;
    session.RunPeek(CommandLinePlan(account_number, false, no_prompt, true), printer);
    if (apply) {
      DownloadMatched(session, account_number, printer);
      DeleteMatched(session, printer);
    }
    if (session.Connected()) session.LogOut(0, printer);
  }
  failed = failed || printer.Failed();
}

void ReportRuleFileError(const RuleFileError& error) {
  std::fprintf(stderr, "larkspin: %s line %d: %s; nothing is screened\n", kRuleFile, error.line,
               TerminalText(error.reason).c_str());
}
}  // namespace

int RunScreenCommand(const CommandArguments& arguments) {
  ScreenArguments parsed;
  if (!ParseScreenArguments(arguments, parsed)) {
    std::fprintf(stderr, "larkspin: usage: larkspin screen [--account N | --all] [--apply]\n");
    return kUsageError;
  }
  const ScreeningInputs inputs = ReadScreeningInputs("", ReadStartupSettings().text_encoding);
  if (const auto& error = inputs.rules.Rules().error) {
    ReportRuleFileError(*error);
    return kRuleFileError;
  }
  if (parsed.scope.accounts.empty()) {
    std::fprintf(stderr, "larkspin: no accounts in config.ini of this folder\n");
    return 1;
  }
  OpenCommandLog();
  CMailboxSession session;
  PrepareSession(session);
  ScreenTally tally;
  bool failed = false;
  const ScreeningContext context = inputs.Context();
  for (const int account_number : parsed.scope.accounts)
    ScreenAccount(account_number, parsed.apply, context, session, tally, failed);
  std::printf("%s\n", TallyLine(tally, parsed.apply).c_str());
  CloseLog();
  std::fflush(stdout);
  return failed ? 1 : 0;
}

}  // namespace larkspin
