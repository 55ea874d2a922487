#include "cli/preview_command.h"

#include <cstdio>
#include <string_view>

#include "cli/cli_account.h"
#include "cli/terminal_text.h"
#include "config/startup_settings.h"
#include "peek/preview_fetch.h"

namespace larkspin {

namespace {
constexpr int kUsageError = 2;

bool ParsePreviewArguments(const CommandArguments& arguments, int& account_number, int& message_number) {
  return arguments.size() == 3 && arguments[0] == "--account" && ParsePositiveNumber(arguments[1], account_number) &&
         ParsePositiveNumber(arguments[2], message_number);
}

// Each line of the text on a line of its own, with its control characters made blanks.
void PrintText(std::string_view text) {
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    std::printf("%s\n", TerminalText(line).c_str());
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
}

// The message as the open connection numbers it: no earlier listing to check it against.
bool PrintPreview(CMailboxSession& session, const CCurrentAccount& account, int message_number) {
  HeaderRow row;
  row.message_number = message_number;
  row.connection = session.Client().ConnectionNumber();
  const PreviewResult result = FetchPreview(session, account, row, ReadStartupSettings().preview_lines);
  if (!result.fetched) {
    std::fprintf(stderr, "larkspin: message %d: %s\n", message_number, TerminalText(result.failure).c_str());
    return false;
  }
  PrintText(result.preview.text);
  for (const PreviewAttachment& attachment : result.preview.attachments)
    std::printf("%s\t%s\n", TerminalText(attachment.name).c_str(), TerminalText(attachment.type).c_str());
  return true;
}
}  // namespace

int RunPreviewCommand(const CommandArguments& arguments) {
  int account_number = 0;
  int message_number = 0;
  if (!ParsePreviewArguments(arguments, account_number, message_number)) {
    std::fprintf(stderr, "larkspin: usage: larkspin preview --account N NUMBER\n");
    return kUsageError;
  }
  const bool shown = RunOnAccount(account_number, [&](CMailboxSession& session, const CCurrentAccount& account) {
    return PrintPreview(session, account, message_number);
  });
  return shown ? 0 : 1;
}

}  // namespace larkspin
