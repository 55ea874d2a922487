#include "config/current_account.h"

#include "config/account_tls.h"
#include "config/ini_file.h"
#include "config/language_file.h"
#include "config/oauth_settings.h"
#include "config/oauth_token_store.h"
#include "config/stored_password.h"
#include "config/working_files.h"
#include "common/decimal.h"
#include "common/scramble.h"
#include "platform/file_system.h"
#include "platform/private_profile.h"

namespace larkspin {

namespace {
const char* const kUsersSection = "Users";

void CreateAccountFolders(int account_number) {
  const std::string mailbox = WorkingDirectory() + "mailbox" + std::to_string(account_number);
  MakeFolder(mailbox);
  MakeFolder(mailbox + "/sent");
  MakeFolder(mailbox + "/attach");
  MakeFolder(mailbox + "/drafts");
}
}  // namespace

int AccountNumberOfSection(const std::string& section) {
  const std::string prefix = "Account";
  return ParseDecimalInt(section.compare(0, prefix.size(), prefix) == 0 ? section.substr(prefix.size()) : section);
}

std::string AccountSection(int account_number) { return "Account" + std::to_string(account_number); }

std::string AccountListName(int account_number) {
  return CIniFile(kConfigFile).ReadText(kUsersSection, AccountSection(account_number));
}

int ConfiguredAccountCount() { return CIniFile(kConfigFile).ReadInt("System", "Accounts", 0); }

int CCurrentAccount::LoadCurrentAccount(const std::string& section) {
  const CIniFile config(kConfigFile);
  account_number = AccountNumberOfSection(section);
  full_name = config.ReadString(section, "FullName", "fullname");
  mail_address = config.ReadString(section, "MailAddress", "mailaddress");
  reply_address = config.ReadString(section, "ReplyAddress", "replyaddress");
  pop3_host = config.ReadString(section, "POP3Host", "pop3host");
  pop3_port = config.ReadInt(section, "POP3Port", 110);
  smtp_host = config.ReadString(section, "SMTPHost", "smtphost");
  smtp_port = config.ReadInt(section, "SMTPPort", 25);
  pop3_tls = ReadTlsOptions(config, section, kPop3SecurityKey);
  pop3_pipelining = ReadPipelining(config, section);
  pop3_oauth = Pop3UsesOAuth(section);
  CreateAccountFolders(account_number);
  return 1;
}

int CCurrentAccount::LoadAccountRecord(int number, AccountRecord& record, PeekScope scope) {
  const std::string section = AccountSection(number);
  const CIniFile config(kConfigFile);
  ClearCredentials();
  EnsureCredentials(section, scope);
  record.account_number = number;
  record.full_name = config.ReadString(section, "FullName", "fullname");
  record.display_name = config.ReadString(kUsersSection, section, "default");
  record.mail_address = config.ReadString(section, "MailAddress", "mailaddress");
  record.reply_address = config.ReadString(section, "ReplyAddress", "replyaddress");
  record.pop3_host = config.ReadString(section, "POP3Host", "pop3host");
  record.pop3_port = config.ReadInt(section, "POP3Port", 110);
  record.smtp_host = config.ReadString(section, "SMTPHost", "smtp3host");
  record.smtp_port = config.ReadInt(section, "SMTPPort", 25);
  record.authentication = config.ReadString(section, "Authentication", "NoLoginMethod");
  record.pop3_tls = ReadTlsOptions(config, section, kPop3SecurityKey);
  record.smtp_tls = ReadTlsOptions(config, section, kSmtpSecurityKey);
  record.login = login;
  record.password = password;
  return 1;
}

void CCurrentAccount::ClearCredentials() {
  login.clear();
  password.clear();
  login_plain = false;
  password_plain = false;
  folder_gate_mark = false;
  credential_problem.clear();
}

int CCurrentAccount::EnsureCredentials(const std::string& section, PeekScope scope) {
  static const CredentialKind kLogin{"POP3Account", "POP3 Account", "EnterLogin",
                                     "Please enter your POP3 login name:", false};
  static const CredentialKind kPassword{"POP3Password", "POP3 Password", "EnterPassword",
                                        "Please enter your POP3 password:", true};
  display_name = CIniFile(kConfigFile).ReadString(kUsersSection, section, "Account1");
  credential_problem.clear();
  pop3_oauth = Pop3UsesOAuth(section);
  if (pop3_oauth) {
    login = OAuthLogin(section);
    login_plain = true;
    return login.empty() ? kLoginMissing : 1;
  }
  if (ResolveCredential(section, kLogin, scope, login, login_plain) == Resolution::kMissing) return kLoginMissing;
  const Resolution password_resolution = ResolveCredential(section, kPassword, scope, password, password_plain);
  if (password_resolution == Resolution::kMissing) return kPasswordMissing;
  if (password_resolution == Resolution::kTyped) folder_gate_mark = true;
  return 1;
}

CCurrentAccount::Resolution CCurrentAccount::ResolveCredential(const std::string& section, const CredentialKind& kind,
                                                               PeekScope scope, std::string& value, bool& plain) {
  if (value.empty() && kind.password_style && PasswordsInKeyring())
    return ResolveFromKeyring(section, kind, scope, value, plain);
  if (value.empty()) value = CIniFile(kConfigFile).ReadString(section, kind.key, "");
  if (value.empty()) return AskUnlessAllAccounts(section, kind, scope, value, plain);
  if (!plain) {
    UnscrambleText(value);
    plain = true;
  }
  return Resolution::kAtHand;
}

// A keyring that cannot be read is treated like a missing password; credential_problem says why.
CCurrentAccount::Resolution CCurrentAccount::ResolveFromKeyring(const std::string& section, const CredentialKind& kind,
                                                                PeekScope scope, std::string& value, bool& plain) {
  const StoredPassword stored = ReadPasswordFromKeyring(section, login);
  if (stored.result == StoredPasswordResult::kFound) {
    value = stored.password;
    plain = true;
    return Resolution::kAtHand;
  }
  credential_problem = stored.problem;
  return AskUnlessAllAccounts(section, kind, scope, value, plain);
}

CCurrentAccount::Resolution CCurrentAccount::AskUnlessAllAccounts(const std::string& section, const CredentialKind& kind,
                                                                  PeekScope scope, std::string& value, bool& plain) {
  if (scope == PeekScope::kAllAccounts) return Resolution::kMissing;
  value = AskCredential(section, kind);
  plain = true;
  return Resolution::kTyped;
}

std::string CCurrentAccount::AskCredential(const std::string& section, const CredentialKind& kind) {
  InputRequest request;
  request.caption = std::string(kind.caption) + " (" + display_name + ")";
  request.prompt = CIniFile(LanguageFilePath()).ReadString("Labels", kind.prompt_key, kind.prompt_default);
  request.password_style = kind.password_style;
  request.show_remember = true;
  request.notice = credential_problem;
  InputAnswer answer;
  if (!prompt_->Ask(request, answer)) return {};
  if (answer.remember && kind.password_style) {
    const std::string problem = RememberPassword(section, login, answer.text);
    if (!problem.empty()) credential_problem = problem;
  } else if (answer.remember) {
    WriteProfileString(kConfigFile, section, kind.key, Scrambled(answer.text));
  }
  return answer.text;
}

}  // namespace larkspin
