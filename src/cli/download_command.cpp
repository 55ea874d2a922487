#include "cli/download_command.h"

#include <cstdio>
#include <vector>

#include "cli/cli_account.h"
#include "cli/quiet_events.h"
#include "cli/terminal_text.h"
#include "peek/mailbox_session.h"
#include "peek/row_texts.h"

namespace larkspin {

namespace {
constexpr int kUsageError = 2;

struct DownloadArguments {
  int account_number = 0;
  std::vector<int> message_numbers;
};

bool ParseDownloadArguments(const CommandArguments& arguments, DownloadArguments& parsed) {
  if (arguments.size() < 3 || arguments[0] != "--account" || !ParsePositiveNumber(arguments[1], parsed.account_number))
    return false;
  for (size_t i = 2; i < arguments.size(); ++i) {
    int number = 0;
    if (!ParsePositiveNumber(arguments[i], number)) return false;
    parsed.message_numbers.push_back(number);
  }
  return true;
}

void ReportFailure(int message_number, const std::string& reason) {
  std::fprintf(stderr, "larkspin: message %d: %s\n", message_number, TerminalText(reason).c_str());
}

std::string NoticeTexts(const DownloadResult& result) {
  std::string texts;
  for (const DownloadNotice& notice : result.notices) texts += (texts.empty() ? "" : "; ") + notice.text;
  return texts;
}

std::string JoinedNames(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : ",") + name;
  return joined;
}

// Says why message_number could not be listed: the number lies beyond the mailbox's messages
// (counted by a fresh STAT), or else the server's answer.
void ReportListFailure(CMailboxSession& session, int message_number, const ServerFailure& failure) {
  int count = 0;
  if (session.CountMessages(count) && message_number > count) {
    std::fprintf(stderr, "larkspin: no message %d; the mailbox has %d\n", message_number, count);
    return;
  }
  ReportFailure(message_number, ServerFailureText(failure));
}

// Keeps the outcome of the session's download.
class CDownloadReceiver : public CQuietEvents {
 public:
  void OnDownloadResult(const DownloadOutcome& reported) override { outcome = reported; }
  DownloadOutcome outcome;
};

// The message's row as a peek lists it, then the session's download. False when it failed.
bool DownloadOne(CMailboxSession& session, int account_number, int message_number) {
  PeekedRow listed;
  if (const auto failure = session.ListMessage(message_number, account_number, AccountListName(account_number), listed)) {
    ReportListFailure(session, message_number, *failure);
    return false;
  }
  const DownloadOrder order{listed.record, account_number, true, false};
  CDownloadReceiver receiver;
  receiver.outcome.record = order.row;
  receiver.outcome.result.code = session.Download(order, receiver);
  const HeaderRow& row = receiver.outcome.record;
  const DownloadResult& result = receiver.outcome.result;
  std::printf("%d\t%d\t%s\t%s\n", message_number, result.code, TerminalText(row.local_file).c_str(),
              TerminalText(JoinedNames(row.attachments)).c_str());
  if (!order.row.local_file.empty()) {
    std::fprintf(stderr, "larkspin: message %d is already stored\n", message_number);
    return true;
  }
  if (!result.stored) {
    // A lost connection is the reason the message could not be fetched.
    const std::string reason = session.Connected() ? "" : " (" + session.QuotedReply() + ")";
    ReportFailure(message_number, NoticeTexts(result) + reason);
    return false;
  }
  if (result.code < 0 || !result.whole) {
    ReportFailure(message_number, "stored, but not whole: some of its attachments could not be stored (see the log)");
    return false;
  }
  return true;
}
}  // namespace

int RunDownloadCommand(const CommandArguments& arguments) {
  DownloadArguments parsed;
  if (!ParseDownloadArguments(arguments, parsed)) {
    std::fprintf(stderr, "larkspin: usage: larkspin download --account N MESSAGE_NUMBER...\n");
    return kUsageError;
  }
  const bool all_stored = RunOnAccount(parsed.account_number, [&](CMailboxSession& session, const CCurrentAccount&) {
    bool stored = true;
    for (const int number : parsed.message_numbers) stored = DownloadOne(session, parsed.account_number, number) && stored;
    return stored;
  });
  return all_stored ? 0 : 1;
}

}  // namespace larkspin
