#include "cli/peek_command.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "config/log.h"
#include "config/startup_settings.h"
#include "config/working_files.h"
#include "cli/cli_account.h"
#include "cli/terminal_text.h"
#include "common/format.h"
#include "common/quoted_server_text.h"
#include "peek/account_failures.h"
#include "peek/header_too_large.h"
#include "peek/row_texts.h"
#include "platform/profile_store.h"
#include "res/resources.h"

namespace larkspin {

namespace {
constexpr int kUsageError = 2;

struct PeekTotals {
  int count = 0;
  int64_t size = 0;
  bool failed = false;
  std::vector<AccountFailure> failed_accounts;  // --all: the accounts not checked
};

void ReportFailure(const std::string& reason, PeekTotals& totals) {
  std::fprintf(stderr, "larkspin: %s\n", TerminalText(reason).c_str());
  totals.failed = true;
}

struct PeekScopeChoice {
  std::vector<int> accounts;
  bool all_accounts = false;
};

PeekScopeChoice AllAccounts() {
  PeekScopeChoice choice;
  choice.all_accounts = true;
  for (int n = 1; n <= ConfiguredAccountCount(); ++n) choice.accounts.push_back(n);
  return choice;
}

// The entry the window's account selector stands on: an account, or the last entry "All
// Accounts"; an entry that no longer exists stands for the first account.
PeekScopeChoice SelectedAccounts() {
  const int entry = CProfileStore().GetInt(kMainWindowSection, "account", 0);
  const int count = ConfiguredAccountCount();
  if (entry == count) return AllAccounts();
  return {{entry >= 0 && entry < count ? entry + 1 : 1}, false};
}

bool ParsePeekArguments(const CommandArguments& arguments, PeekScopeChoice& choice) {
  if (arguments.empty()) {
    choice = SelectedAccounts();
    return true;
  }
  if (arguments.size() == 1 && arguments[0] == "--all") {
    choice = AllAccounts();
    return true;
  }
  int number = 0;
  if (arguments.size() == 2 && arguments[0] == "--account" && ParsePositiveNumber(arguments[1], number)) {
    choice = {{number}, false};
    return true;
  }
  return false;
}

void PrintRow(int message_number, const RowTexts& texts) {
  std::printf("%d\t%s\t%s\t%s\t%s\t%s\n", message_number, TerminalText(texts.from).c_str(),
              TerminalText(texts.subject).c_str(), TerminalText(texts.date).c_str(),
              TerminalText(texts.account).c_str(), texts.size.c_str());
}

// A header too large to read cost the connection (its row is printed): standard error names the
// message, and the next message is asked on a new login. False when that login failed.
bool LogInAfterHeaderTooLarge(int message_number, const CCurrentAccount& account, CPop3Client& client,
                              PeekTotals& totals) {
  const std::string failure =
      FormatText("message %d of account %s not shown: %s", message_number,
                 AccountListName(account.account_number).c_str(), QuotedServerText(client.LastReply()).c_str());
  LogEvent(failure);
  ReportFailure(failure, totals);
  std::string reason;
  if (LogInAgain(account, client, reason)) return true;
  ReportFailure(reason, totals);
  return false;
}

// Fetches and prints every header of the connected account, adding its messages to the totals.
// The size is asked before the header, since a header too large to read costs the connection.
void PeekHeaders(CPop3Client& client, const CCurrentAccount& account, PeekTotals& totals) {
  int count = 0;
  int size = 0;
  if (!client.Statistics(count, size)) {
    const std::string reason = "Error Statistics: " + QuotedServerText(client.LastReply());
    LogEvent(reason);
    ReportFailure(reason, totals);
    return;
  }
  totals.count += count;
  totals.size += size;
  const std::string account_name = AccountListName(account.account_number);
  const TextEncoding encoding = ReadStartupSettings().text_encoding;
  // A lost connection ends the list: every later command would fail at once.
  for (int i = 1; i <= count && client.IsConnected(); ++i) {
    CPop3Text header;
    uint32_t message_size = 0;
    if (!client.GetMessageSize(i, message_size)) {
      ReportFailure("Error GetMessageSize: " + QuotedServerText(client.LastReply()), totals);
      continue;
    }
    if (client.GetMessageHeader(i, header)) {
      PrintRow(i, MakeRowTexts(MakePeekedMessage(i, "", message_size, std::string(header.HeaderText()), encoding),
                               account_name));
    } else if (client.LastFailure() != CPop3Client::Failure::kReplyTooLong) {
      ReportFailure("Error GetMessageHeader: " + QuotedServerText(client.LastReply()), totals);
    } else {
      PrintRow(i, HeaderTooLargeRowTexts(message_size, account_name, encoding));
      if (!LogInAfterHeaderTooLarge(i, account, client, totals)) return;
    }
  }
}

void PeekAccount(int account_number, bool all_accounts, PeekTotals& totals) {
  CNoPrompt no_prompt;
  CCurrentAccount account(no_prompt);
  CPop3Client client;
  std::string reason;
  switch (ConnectAccount(account_number, account, client, reason)) {
    case AccountLogin::kConnected:
      PeekHeaders(client, account, totals);
      client.Disconnect();
      break;
    case AccountLogin::kNoCredentials:
      // In all-accounts mode such an account is skipped, as the window skips it, and named at the end.
      ReportFailure(reason, totals);
      if (all_accounts) totals.failed_accounts.push_back({AccountListName(account_number), MissingCredentialReason(account)});
      break;
    case AccountLogin::kConnectFailed:
      if (all_accounts)
        totals.failed_accounts.push_back(
            {AccountListName(account_number), LoginFailureReason(QuotedServerText(client.LastReply()))});
      ReportFailure(reason, totals);
      break;
    case AccountLogin::kNoSuchAccount:
      ReportFailure(reason, totals);
      break;
  }
}
}  // namespace

int RunPeekCommand(const CommandArguments& arguments) {
  PeekScopeChoice choice;
  if (!ParsePeekArguments(arguments, choice)) {
    std::fprintf(stderr, "larkspin: usage: larkspin peek [--account N | --all]\n");
    return kUsageError;
  }
  if (choice.accounts.empty()) {
    std::fprintf(stderr, "larkspin: no accounts in config.ini of this folder\n");
    return 1;
  }
  OpenLog(kLogFile);
  PeekTotals totals;
  for (const int account_number : choice.accounts) PeekAccount(account_number, choice.all_accounts, totals);
  std::printf("%s\n", FormatText("Total messages: %d     Total size: %.2lf kbyte (%lld byte)", totals.count,
                                 static_cast<double>(totals.size) * (1.0 / 1024), static_cast<long long>(totals.size))
                          .c_str());
  if (!totals.failed_accounts.empty())
    std::fprintf(stderr, "larkspin: %s\n", TerminalText(FailedAccountsText(totals.failed_accounts)).c_str());
  CloseLog();
  std::fflush(stdout);
  return totals.failed ? 1 : 0;
}

}  // namespace larkspin
