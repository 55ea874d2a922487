#include "cli/peek_printer.h"

#include <cstdio>

#include "cli/cli_account.h"
#include "cli/terminal_text.h"
#include "common/format.h"
#include "peek/account_failures.h"
#include "peek/row_texts.h"

namespace larkspin {

void PrintPeekTotal(int count, int size) {
  std::printf("%s\n", FormatText("Total messages: %d     Total size: %.2lf kbyte (%lld byte)", count,
                                 static_cast<double>(size) * (1.0 / 1024), static_cast<long long>(size))
                          .c_str());
}

void CPeekPrinter::PrintProblem(const std::string& reason) {
  std::fprintf(stderr, "larkspin: %s\n", TerminalText(reason).c_str());
  failed_ = true;
}

void CPeekPrinter::OnAccountWithoutCredentials(const SkippedAccount& skipped) {
  PrintProblem(FormatText("account %d (%s) skipped: %s", skipped.account_number, skipped.account_name.c_str(),
                          MissingCredentialText(skipped.credential_problem).c_str()));
}

void CPeekPrinter::OnConnectFailed(const std::string& host, const std::string& reply) {
  PrintProblem(ConnectFailureText(host, reply));
}

void CPeekPrinter::OnServerFailure(const ServerFailure& failure) {
  if (failure.command != "Disconnect") PrintProblem(ServerFailureText(failure));
}

// A header too large to read still has its row printed.
void CPeekPrinter::OnHeaderRow(const PeekedRow& row) {
  const RowTexts texts = MakeRowTexts(row.message, row.record.account);
  std::printf("%d\t%s\t%s\t%s\t%s\t%s\n", row.message.number, TerminalText(texts.from).c_str(),
              TerminalText(texts.subject).c_str(), TerminalText(texts.date).c_str(),
              TerminalText(texts.account).c_str(), texts.size.c_str());
  ReportUnreadHeader(row);
}

void CPeekPrinter::ReportUnreadHeader(const PeekedRow& row) {
  if (!row.message.header_read)
    PrintProblem(FormatText("message %d of account %s not shown: %s", row.message.number, row.record.account.c_str(),
                            row.header_failure.c_str()));
}

void CPeekPrinter::OnPeekTotal(const PeekTotal& total) { PrintPeekTotal(total.count, total.size); }

// A connection lost otherwise was named by the failure that lost it.
void CPeekPrinter::OnConnectionLost(const LostConnection& lost) {
  if (lost.new_login_refused) PrintProblem(ConnectFailureText(lost.host, lost.reply));
}

void CPeekPrinter::OnPeekFinished(const PeekSummary& summary) {
  if (!summary.failed_accounts.empty()) PrintProblem(FailedAccountsText(summary.failed_accounts));
}

}  // namespace larkspin
