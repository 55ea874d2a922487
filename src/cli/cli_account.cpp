#include "cli/cli_account.h"

#include <algorithm>
#include <cstdint>

#include "config/ini_file.h"
#include "config/log.h"
#include "config/startup_settings.h"
#include "config/working_files.h"
#include "common/decimal.h"
#include "common/format.h"
#include "common/quoted_server_text.h"

namespace larkspin {

bool ParsePositiveNumber(const std::string& text, int& number) {
  if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  number = ParseDecimalInt(text);
  return number > 0;
}

std::string MissingCredentialText(const CCurrentAccount& account) {
  return account.credential_problem.empty() ? "no stored login or password" : account.credential_problem;
}

AccountLogin ConnectAccount(int account_number, CCurrentAccount& account, CPop3Client& client,
                            std::string& reason) {
  const int account_count = ConfiguredAccountCount();
  if (account_number > account_count) {
    reason = FormatText("no account %d; config.ini has %d", account_number, account_count);
    return AccountLogin::kNoSuchAccount;
  }
  const std::string section = AccountSection(account_number);
  account.ClearCredentials();
  if (account.EnsureCredentials(section, PeekScope::kAllAccounts) != 1) {
    reason = FormatText("account %d (%s) skipped: %s", account_number, AccountListName(account_number).c_str(),
                        MissingCredentialText(account).c_str());
    return AccountLogin::kNoCredentials;
  }
  account.LoadCurrentAccount(section);
  const StartupSettings settings = ReadStartupSettings();
  client.read_timeout_ms = settings.ReplyTimeoutMs();
  client.max_message_bytes = settings.MaxMessageBytes();
  client.tls = account.pop3_tls;
  return LogInAgain(account, client, reason) ? AccountLogin::kConnected : AccountLogin::kConnectFailed;
}

bool LogInAgain(const CCurrentAccount& account, CPop3Client& client, std::string& reason) {
  if (client.Connect(account.pop3_host, account.login, account.password, account.pop3_port)) return true;
  reason = FormatText("Error connecting to %s: %s", account.pop3_host.c_str(),
                      QuotedServerText(client.LastReply()).c_str());
  LogEvent(reason);
  return false;
}

}  // namespace larkspin
