#include "admin/account_admin.h"

#include "config/stored_password.h"
#include "config/working_files.h"
#include "common/format.h"
#include "common/quoted_server_text.h"
#include "platform/pause.h"
#include "platform/private_profile.h"

namespace larkspin {

const char* StoredCredentialName(StoredCredential credential) {
  return credential == StoredCredential::kLogin ? "Login" : "Password";
}

std::string ForgetStoredCredential(int account_number, CCurrentAccount& account, StoredCredential credential) {
  const std::string section = AccountSection(account_number);
  if (credential == StoredCredential::kLogin) {
    WriteProfileString(kConfigFile, section, "POP3Account", "");
    account.login.clear();
    account.login_plain = false;
    return {};
  }
  const std::string problem = ForgetPassword(section, account.login);
  account.password.clear();
  account.password_plain = false;
  return problem;
}

void UnlockAccount(const AccountSelection& selection, CCurrentAccount& account, CPop3Client& client,
                   bool& connected, const std::function<void(const std::string&)>& set_status) {
  const std::string& host = account.pop3_host;
  set_status(FormatText("Unlocking '%s' for user '%s' ...", host.c_str(), account.full_name.c_str()));
  account.EnsureCredentials(AccountSection(selection.account_number),
                            selection.all_accounts ? PeekScope::kAllAccounts : PeekScope::kOneAccount);
  client.tls = account.pop3_tls;
  CHttpClient http;
  const bool logged_in =
      account.pop3_oauth
          ? client.ConnectWithOAuth(host, AccountSection(selection.account_number), account.pop3_port, http)
          : client.Connect(host, account.login, account.password, account.pop3_port);
  if (!logged_in) {
    set_status(FormatText("Error connecting to %s: %s", host.c_str(), QuotedServerText(client.LastReply()).c_str()));
    return;
  }
  connected = true;
  PauseFor(50);
  int count = 0;
  int size = 0;
  if (!client.Statistics(count, size)) set_status("Error Statistics: " + QuotedServerText(client.LastReply()));
  PauseFor(50);
  if (client.Disconnect()) {
    set_status(FormatText("'%s' unlocked successfully", host.c_str()));
    connected = false;
  } else {
    set_status("Error Disconnect: " + QuotedServerText(client.LastReply()));
  }
}

}  // namespace larkspin
