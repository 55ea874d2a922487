#include "admin/account_admin.h"

#include "config/stored_password.h"
#include "config/working_files.h"
#include "common/format.h"
#include "common/message_box.h"
#include "common/quoted_server_text.h"
#include "platform/pause.h"
#include "platform/private_profile.h"

namespace larkspin {

namespace {
// What differs between resetting the login and resetting the password.
struct StoredCredential {
  const char* name;  // "Login" or "Password"
  // Removes the stored value; empty on success, else why it failed.
  std::string (*forget)(const std::string& section, const CCurrentAccount& account);
  std::string CCurrentAccount::*value;
  bool CCurrentAccount::*plain;
};

std::string ForgetLogin(const std::string& section, const CCurrentAccount&) {
  WriteProfileString(kConfigFile, section, "POP3Account", "");
  return {};
}

std::string ForgetAccountPassword(const std::string& section, const CCurrentAccount& account) {
  return ForgetPassword(section, account.login);
}

void ResetCredential(const AccountSelection& selection, CCurrentAccount& account, const StoredCredential& credential) {
  const char* name = selection.account_name.c_str();
  if (selection.all_accounts) {
    MessageBoxF(kBoxOk | kBoxIconWarning, "Cannot reset %s for '%s'", credential.name, name);
    return;
  }
  if (MessageBoxF(kBoxYesNo | kBoxIconQuestion, "Reset %s for account '%s' ?", credential.name, name) != kButtonYes)
    return;
  const std::string problem = credential.forget(AccountSection(selection.account_number), account);
  (account.*credential.value).clear();
  account.*credential.plain = false;
  if (problem.empty())
    MessageBoxF(kBoxOk | kBoxIconInformation, "%s successfully reset.", credential.name);
  else
    MessageBoxF(kBoxOk | kBoxIconWarning, "%s", problem.c_str());
}
}  // namespace

void ResetLogin(const AccountSelection& selection, CCurrentAccount& account) {
  ResetCredential(selection, account, {"Login", ForgetLogin, &CCurrentAccount::login, &CCurrentAccount::login_plain});
}

void ResetPassword(const AccountSelection& selection, CCurrentAccount& account) {
  ResetCredential(selection, account,
                  {"Password", ForgetAccountPassword, &CCurrentAccount::password, &CCurrentAccount::password_plain});
}

void UnlockAccount(const AccountSelection& selection, CCurrentAccount& account, CPop3Client& client,
                   bool& connected, const std::function<void(const std::string&)>& set_status) {
  const std::string& host = account.pop3_host;
  set_status(FormatText("Unlocking '%s' for user '%s' ...", host.c_str(), account.full_name.c_str()));
  account.EnsureCredentials(AccountSection(selection.account_number),
                            selection.all_accounts ? PeekScope::kAllAccounts : PeekScope::kOneAccount);
  client.tls = account.pop3_tls;
  if (!client.Connect(host, account.login, account.password, account.pop3_port)) {
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
