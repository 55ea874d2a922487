#include "cli/send_command.h"

#include <cstdio>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <vector>

#include "config/language_table.h"
#include "config/log.h"
#include "config/working_files.h"
#include "cli/cli_account.h"
#include "cli/command_log.h"
#include "cli/terminal_text.h"
#include "common/format.h"
#include "common/windows_1252.h"
#include "compose/attachment_paths.h"
#include "compose/send_mail.h"
#include "common/line_ends.h"

namespace larkspin {

namespace {
constexpr int kSendFailed = 1;
constexpr int kUsageError = 2;
constexpr const char* kUsage =
    "usage: larkspin send --account N --to ADDRESSES [--cc ADDRESSES] [--bcc ADDRESSES] --subject TEXT "
    "[--attach PATH,...] [--priority high|normal|low] < TEXT";

struct SendArguments {
  int account_number = 0;
  ComposedMail mail;
  bool has_to = false;
  bool has_subject = false;
};

bool ParsePriority(const std::string& text, int& priority) {
  static const std::map<std::string, int> kPriorities = {
      {"high", kPriorityHigh}, {"normal", kPriorityNormal}, {"low", kPriorityLow}};
  const auto found = kPriorities.find(text);
  if (found == kPriorities.end()) return false;
  priority = found->second;
  return true;
}

// One option and its value; false for an unknown option or a bad value.
bool TakeOption(const std::string& option, const std::string& value, SendArguments& parsed) {
  ComposedMail& mail = parsed.mail;
  if (option == "--account") return ParsePositiveNumber(value, parsed.account_number);
  if (option == "--priority") return ParsePriority(value, mail.priority);
  if (option == "--attach") {
    mail.attachments += (mail.attachments.empty() ? "" : ",") + value;  // file paths: bytes as they are
    return true;
  }
  // Kept as typed: Send converts the texts once config.ini says how they are held.
  const std::string& text = value;
  if (option == "--to") {
    mail.to = text;
    parsed.has_to = true;
  } else if (option == "--cc") {
    mail.cc = text;
  } else if (option == "--bcc") {
    mail.bcc = text;
  } else if (option == "--subject") {
    mail.subject = text;
    parsed.has_subject = true;
  } else {
    return false;
  }
  return true;
}

bool ParseSendArguments(const CommandArguments& arguments, SendArguments& parsed) {
  if (arguments.size() % 2 != 0) return false;
  for (size_t i = 0; i < arguments.size(); i += 2) {
    if (!TakeOption(arguments[i], arguments[i + 1], parsed)) return false;
  }
  return parsed.account_number > 0 && parsed.has_to && parsed.has_subject;
}

// A text of the program as one terminal line: its empty lines dropped, line breaks as blanks.
std::string OneLine(const std::string& text) {
  std::string joined;
  for (const char c : text) {
    if (c != '\n' || joined.empty() || joined.back() != '\n') joined += c;
  }
  return TerminalText(joined);
}

int Fail(const std::string& reason) {
  std::fprintf(stderr, "larkspin: %s\n", OneLine(reason).c_str());
  return kSendFailed;
}

std::string JoinedNames(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
  return joined;
}

// Checks what the send needs before anything goes out; empty when all is well.
std::string Precondition(const SendArguments& parsed, const CCurrentAccount& account, const AccountRecord& identity) {
  if (parsed.mail.to.empty()) return "No recipient has been entered.";
  if (parsed.account_number > ConfiguredAccountCount())
    return FormatText("account %d is not configured", parsed.account_number);
  // With OAuth2Method the access token stands for the password: a missing sign-in is told when
  // the token is asked for.
  const int method = AuthMethodOfSetting(identity.authentication);
  if (method != kAuthNone && method != kAuthOAuth2 && (identity.login.empty() || identity.password.empty()))
    return FormatText("account %d (%s): %s", parsed.account_number, AccountListName(parsed.account_number).c_str(),
                      MissingCredentialText(account.credential_problem).c_str());
  const std::vector<std::string> missing = MissingAttachments(parsed.mail.attachments);
  if (!missing.empty()) return "The attached file was not found: " + JoinedNames(missing);
  return {};
}

int Send(SendArguments& parsed) {
  CNoPrompt no_prompt;
  CCurrentAccount account(no_prompt);
  AccountRecord identity;
  account.LoadAccountRecord(parsed.account_number, identity, PeekScope::kAllAccounts);
  account.LoadCurrentAccount(AccountSection(parsed.account_number));  // makes the mailbox folders
  const std::string problem = Precondition(parsed, account, identity);
  if (!problem.empty()) return Fail(problem);
  const SendSettings settings = ReadSendSettings(CLanguageTable());
  ComposedMail& mail = parsed.mail;
  for (std::string* field : {&mail.to, &mail.cc, &mail.bcc, &mail.subject}) *field = TypedText(*field, settings.text_encoding);
  const std::string typed(std::istreambuf_iterator<char>(std::cin), {});
  mail.text = NormalizeLineEnds(TypedText(typed, settings.text_encoding));
  std::unique_ptr<CSMTPConnection> connection;
  const SendOutcome outcome = SendComposedMail(identity, mail, settings, connection);
  for (const std::string& entry : outcome.log_entries) LogEvent(entry);
  if (!outcome.sent) return Fail(outcome.failure_reason);
  for (const SendNotice& notice : outcome.notices) {
    std::FILE* stream = notice.kind == SendNotice::Kind::kSent ? stdout : stderr;
    std::fprintf(stream, "%s%s\n", stream == stderr ? "larkspin: " : "", OneLine(notice.text).c_str());
  }
  return 0;
}
}  // namespace

int RunSendCommand(const CommandArguments& arguments) {
  SendArguments parsed;
  if (!ParseSendArguments(arguments, parsed)) {
    std::fprintf(stderr, "larkspin: %s\n", kUsage);
    return kUsageError;
  }
  OpenCommandLog();
  const int status = Send(parsed);
  CloseLog();
  std::fflush(stdout);
  return status;
}

}  // namespace larkspin
