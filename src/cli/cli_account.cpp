#include "cli/cli_account.h"

#include <algorithm>
#include <cstdio>

#include "cli/command_log.h"
#include "cli/quiet_events.h"
#include "cli/terminal_text.h"

#include "config/ini_file.h"
#include "config/log.h"
#include "config/startup_settings.h"
#include "config/working_files.h"
#include "common/decimal.h"
#include "common/format.h"

namespace larkspin {

bool ParsePositiveNumber(const std::string& text, int& number) {
  if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  number = ParseDecimalInt(text);
  return number > 0;
}

std::string MissingCredentialText(const std::string& credential_problem) {
  return credential_problem.empty() ? "no stored login or password" : credential_problem;
}

std::string UnknownAccountText(int account_number) {
  const int account_count = ConfiguredAccountCount();
  if (account_number <= account_count) return {};
  return FormatText("no account %d; config.ini has %d", account_number, account_count);
}

void PrepareSession(CMailboxSession& session) {
  const StartupSettings settings = ReadStartupSettings();
  session.Client().read_timeout_ms = settings.ReplyTimeoutMs();
  session.Client().max_message_bytes = settings.MaxMessageBytes();
  session.text_encoding = settings.text_encoding;
}

AccountLogin ConnectAccount(int account_number, CCurrentAccount& account, CMailboxSession& session,
                            std::string& reason) {
  reason = UnknownAccountText(account_number);
  if (!reason.empty()) return AccountLogin::kNoSuchAccount;
  const std::string section = AccountSection(account_number);
  account.ClearCredentials();
  if (account.EnsureCredentials(section, PeekScope::kAllAccounts) != 1) {
    reason = FormatText("account %d (%s) skipped: %s", account_number, AccountListName(account_number).c_str(),
                        MissingCredentialText(account.credential_problem).c_str());
    return AccountLogin::kNoCredentials;
  }
  account.LoadCurrentAccount(section);
  if (session.LogIn(account)) return AccountLogin::kConnected;
  reason = ConnectFailureText(account.pop3_host, session.QuotedReply());
  LogEvent(reason);
  return AccountLogin::kConnectFailed;
}

bool RunOnAccount(int account_number,
                  const std::function<bool(CMailboxSession& session, const CCurrentAccount& account)>& work) {
  OpenCommandLog();
  CNoPrompt no_prompt;
  CCurrentAccount account(no_prompt);
  CMailboxSession session;
  PrepareSession(session);
  std::string reason;
  bool done = false;
  if (ConnectAccount(account_number, account, session, reason) == AccountLogin::kConnected) {
    done = work(session, account);
    CQuietEvents quiet;
    if (session.Connected()) session.LogOut(0, quiet);
  } else {
    std::fprintf(stderr, "larkspin: %s\n", TerminalText(reason).c_str());
  }
  CloseLog();
  std::fflush(stdout);
  return done;
}

}  // namespace larkspin
