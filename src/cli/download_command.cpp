#include "cli/download_command.h"

#include <cstdio>
#include <vector>

#include "config/log.h"
#include "config/startup_settings.h"
#include "config/working_files.h"
#include "cli/cli_account.h"
#include "cli/terminal_text.h"
#include "peek/message_download.h"
#include "peek/row_texts.h"
#include "peek/stored_messages.h"
#include "common/quoted_server_text.h"

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

// Says why the header of message_number could not be fetched: the number lies beyond the
// mailbox's messages (counted by a fresh STAT), or else the server's answer.
void ReportHeaderFailure(CPop3Client& client, int message_number) {
  const std::string answer = QuotedServerText(client.LastReply());
  int count = 0;
  int size = 0;
  if (client.IsConnected() && client.Statistics(count, size) && message_number > count) {
    std::fprintf(stderr, "larkspin: no message %d; the mailbox has %d\n", message_number, count);
    return;
  }
  ReportFailure(message_number, "Error GetMessageHeader: " + answer);
}

// The message's row as a peek makes it, then the download. False when it failed.
bool DownloadOne(CPop3Client& client, int account_number, int message_number) {
  CPop3Text header;
  uint32_t size = 0;
  if (!client.GetMessageHeader(message_number, header) || !client.GetMessageSize(message_number, size)) {
    ReportHeaderFailure(client, message_number);
    return false;
  }
  std::string unique_id;
  if (!client.GetUniqueId(message_number, unique_id) && !client.IsConnected()) {
    ReportFailure(message_number, "Error GetUniqueId: " + QuotedServerText(client.LastReply()));
    return false;
  }
  const TextEncoding encoding = ReadStartupSettings().text_encoding;
  const PeekedMessage message =
      MakePeekedMessage(message_number, unique_id, size, std::string(header.HeaderText()), encoding);
  const RowTexts texts = MakeRowTexts(message, AccountListName(account_number));
  HeaderRow row;
  row.identity = IdentityOf(message);
  row.local_file = CStoredMessages(account_number).FileOf(message.header, row.identity, texts.file_id, encoding);
  row.message_number = message_number;
  row.sender_address = texts.sender_address;
  row.account = texts.account;
  row.account_number = account_number;
  row.file_id = texts.file_id;
  const bool already_stored = !row.local_file.empty();
  const DownloadResult result = DownloadMessage(client, {&row, account_number, true, encoding});
  std::printf("%d\t%d\t%s\t%s\n", message_number, result.code, TerminalText(row.local_file).c_str(),
              TerminalText(JoinedNames(row.attachments)).c_str());
  if (already_stored) {
    std::fprintf(stderr, "larkspin: message %d is already stored\n", message_number);
    return true;
  }
  if (!result.stored) {
    // A lost connection is the reason the message could not be fetched.
    const std::string reason = client.IsConnected() ? "" : " (" + QuotedServerText(client.LastReply()) + ")";
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
  OpenLog(kLogFile);
  CNoPrompt no_prompt;
  CCurrentAccount account(no_prompt);
  CPop3Client client;
  std::string reason;
  bool all_stored = false;
  if (ConnectAccount(parsed.account_number, account, client, reason) == AccountLogin::kConnected) {
    all_stored = true;
    for (const int number : parsed.message_numbers) all_stored = DownloadOne(client, parsed.account_number, number) && all_stored;
    client.Disconnect();
  } else {
    std::fprintf(stderr, "larkspin: %s\n", TerminalText(reason).c_str());
  }
  CloseLog();
  std::fflush(stdout);
  return all_stored ? 0 : 1;
}

}  // namespace larkspin
