#include "account_dialog/dlg_account.h"

#include <algorithm>
#include <array>

#include "admin/account_check.h"
#include "common/decimal.h"
#include "common/format.h"
#include "common/message_box.h"
#include "common/string_tools.h"
#include "config/current_account.h"
#include "config/language_file.h"
#include "config/log.h"
#include "config/startup_settings.h"
#include "platform/shell_open.h"
#include "res/control_ids.h"
#include "res/resources.h"
#include "ui/backend.h"
#include "widgets/desktop_open.h"

namespace larkspin {

namespace {
// The security choices in list order.
constexpr std::array<TlsMode, 3> kSecurityModes = {TlsMode::kNone, TlsMode::kImplicit, TlsMode::kUpgrade};
constexpr std::array<const char*, 3> kSecurityTexts = {"None", "SSL", "STARTTLS"};
// The authentication choices, in the order of kAuthenticationSettings.
constexpr std::array<const char*, 5> kAuthenticationTexts = {"None", "AUTH LOGIN", "LOGIN PLAIN", "CRAM-MD5",
                                                             "OAuth 2.0"};
// POP3's sign-in choices: POP3Auth=Password, OAuth2.
constexpr std::array<const char*, 2> kPop3SignInTexts = {"Password", "OAuth 2.0"};

// The list position of value among settings; 0 (the first, "None") for a value it does not hold.
template <typename Value, size_t N>
int PositionOf(const std::array<Value, N>& settings, const Value& value) {
  for (size_t i = 0; i < N; ++i)
    if (settings[i] == value) return static_cast<int>(i);
  return 0;
}

int AuthenticationPosition(const std::string& setting) {
  for (size_t i = 0; i < std::size(kAuthenticationSettings); ++i)
    if (setting == kAuthenticationSettings[i]) return static_cast<int>(i);
  return 0;
}

// -1 (no entry chosen) for a provider that is not set or not known.
int ProviderPosition(const std::string& setting) {
  for (size_t i = 0; i < std::size(kOAuthProviderSettings); ++i)
    if (EqualsIgnoringCase(setting, kOAuthProviderSettings[i])) return static_cast<int>(i);
  return -1;
}

template <size_t N>
void FillChoice(CDialog& dialog, int id, const std::array<const char*, N>& texts) {
  dialog.ResetCombo(id);
  for (const char* text : texts) dialog.AddComboEntry(id, text);
}
// The chosen entry of a list that always has one.
int Chosen(const CDialog& dialog, int id) { return std::max(dialog.ComboSelection(id), 0); }
}  // namespace

CDlgAccount::CDlgAccount(CDialog* parent, int account_number)
    : CDialog(kDialogAccount, parent),
      shown_account_(account_number),
      language_(LanguageFilePath()),
      open_page_([](const std::string& url) {
        return StartDesktopOpen(url, "The sign-in page could not be opened.") == kShellOpenSucceeded;
      }),
      sign_in_(*this, {[this](const std::string& code, const std::string& uri) { ShowDeviceCode(code, uri); },
                       [this] { ShowWaitingForBrowser(); },
                       [this](const SignInResult& result) { SignInFinished(result); }}) {
  Commands().OnCommand(kAccountTestButton, [this] { Test(); });
  Commands().OnCommand(kAccountRemoveButton, [this] { Remove(); });
  Commands().OnCommand(kAccountSignInButton, [this] { SignInOrStop(); });
  for (const int choice : {kAccountPop3SignInChoice, kAccountOAuthProviderChoice, kAccountAuthenticationChoice})
    Commands().OnNotify(choice, NotifyCode::kSelectionChange, [this](const Notification&) { EnableOAuthFields(); });
  Commands().OnNotify(kAccountChoice, NotifyCode::kSelectionChange, [this](const Notification&) { OtherAccountChosen(); });
  Commands().OnNotify(kAccountPop3SecurityChoice, NotifyCode::kSelectionChange, [this](const Notification&) {
    FillInPort(kAccountPop3SecurityChoice, kAccountPop3PortField, MailProtocol::kPop3);
  });
  Commands().OnNotify(kAccountSmtpSecurityChoice, NotifyCode::kSelectionChange, [this](const Notification&) {
    FillInPort(kAccountSmtpSecurityChoice, kAccountSmtpPortField, MailProtocol::kSmtp);
  });
}

bool CDlgAccount::OnInitDialog() {
  ApplyOAuthTexts();
  FillChoices();
  account_count_ = ConfiguredAccountCount();
  ShowAccount(shown_account_ >= 1 && shown_account_ <= account_count_ ? shown_account_ : account_count_ + 1);
  SetFocusItem(kAccountNameField);
  return false;  // the focus stays on the name
}

void CDlgAccount::FillChoices() {
  FillChoice(*this, kAccountPop3SecurityChoice, kSecurityTexts);
  FillChoice(*this, kAccountSmtpSecurityChoice, kSecurityTexts);
  FillChoice(*this, kAccountAuthenticationChoice, kAuthenticationTexts);
  FillChoice(*this, kAccountPop3SignInChoice, kPop3SignInTexts);
  ResetCombo(kAccountOAuthProviderChoice);
  for (const char* provider : kOAuthProviderSettings) AddComboEntry(kAccountOAuthProviderChoice, provider);
}

void CDlgAccount::FillAccountList() {
  ResetCombo(kAccountChoice);
  for (int n = 1; n <= account_count_; ++n)
    AddComboEntry(kAccountChoice, FormatText("%d: %s", n, ReadAccountSettings(n).name.c_str()));
  AddComboEntry(kAccountChoice, "New account");
}

void CDlgAccount::ShowAccount(int account_number) {
  account_count_ = ConfiguredAccountCount();
  shown_account_ = account_number;
  FillAccountList();
  SelectComboEntry(kAccountChoice, account_number - 1);
  loaded_ = account_number <= account_count_ ? ReadAccountSettings(account_number) : AccountSettings();
  ShowFields(loaded_);
  shown_ = FieldsOfWindow();
  EnableItem(kAccountRemoveButton, account_number == account_count_);
}

void CDlgAccount::ShowFields(const AccountSettings& settings) {
  SetItemText(kAccountNameField, settings.name);
  SetItemText(kAccountFullNameField, settings.full_name);
  SetItemText(kAccountAddressField, settings.mail_address);
  SetItemText(kAccountPop3HostField, settings.pop3_host);
  SetItemText(kAccountPop3PortField, std::to_string(settings.pop3_port));
  SelectComboEntry(kAccountPop3SecurityChoice, PositionOf(kSecurityModes, settings.pop3_security));
  SetItemText(kAccountLoginField, settings.login);
  SetItemText(kAccountPasswordField, settings.password);
  SetCheck(kAccountRememberBox, settings.remember);
  SetItemText(kAccountSmtpHostField, settings.smtp_host);
  SetItemText(kAccountSmtpPortField, std::to_string(settings.smtp_port));
  SelectComboEntry(kAccountSmtpSecurityChoice, PositionOf(kSecurityModes, settings.smtp_security));
  SelectComboEntry(kAccountAuthenticationChoice, AuthenticationPosition(settings.authentication));
  SelectComboEntry(kAccountPop3SignInChoice, settings.pop3_oauth ? 1 : 0);
  SelectComboEntry(kAccountOAuthProviderChoice, ProviderPosition(settings.oauth_provider));
  SetItemText(kAccountOAuthClientIdField, settings.oauth_client_id);
  SetItemText(kAccountOAuthClientSecretField, settings.oauth_client_secret);
  SetItemText(kAccountOAuthAuthorizeUrlField, settings.oauth_authorize_url);
  SetItemText(kAccountOAuthTokenUrlField, settings.oauth_token_url);
  SetItemText(kAccountOAuthDeviceUrlField, settings.oauth_device_url);
  SetItemText(kAccountOAuthScopesField, settings.oauth_scopes);
  EnableOAuthFields();
}

AccountSettings CDlgAccount::FieldsOfWindow() const {
  const TextEncoding encoding = TextEncoding::kClassic;
  AccountSettings settings;
  settings.name = TypedItemText(kAccountNameField, encoding);
  settings.full_name = TypedItemText(kAccountFullNameField, encoding);
  settings.mail_address = TypedItemText(kAccountAddressField, encoding);
  settings.pop3_host = TypedItemText(kAccountPop3HostField, encoding);
  settings.pop3_port = ParseDecimalInt(ItemText(kAccountPop3PortField));
  settings.pop3_security = kSecurityModes[Chosen(*this, kAccountPop3SecurityChoice)];
  settings.login = TypedItemText(kAccountLoginField, encoding);
  settings.password = TypedItemText(kAccountPasswordField, encoding);
  settings.remember = IsChecked(kAccountRememberBox);
  settings.smtp_host = TypedItemText(kAccountSmtpHostField, encoding);
  settings.smtp_port = ParseDecimalInt(ItemText(kAccountSmtpPortField));
  settings.smtp_security = kSecurityModes[Chosen(*this, kAccountSmtpSecurityChoice)];
  settings.authentication = kAuthenticationSettings[Chosen(*this, kAccountAuthenticationChoice)];
  settings.pop3_oauth = Chosen(*this, kAccountPop3SignInChoice) == 1;
  const int provider = ComboSelection(kAccountOAuthProviderChoice);
  // A provider the list does not know stays as config.ini holds it.
  settings.oauth_provider = provider >= 0 ? kOAuthProviderSettings[provider] : loaded_.oauth_provider;
  settings.oauth_client_id = TypedItemText(kAccountOAuthClientIdField, encoding);
  settings.oauth_client_secret = TypedItemText(kAccountOAuthClientSecretField, encoding);
  settings.oauth_authorize_url = TypedItemText(kAccountOAuthAuthorizeUrlField, encoding);
  settings.oauth_token_url = TypedItemText(kAccountOAuthTokenUrlField, encoding);
  settings.oauth_device_url = TypedItemText(kAccountOAuthDeviceUrlField, encoding);
  settings.oauth_scopes = TypedItemText(kAccountOAuthScopesField, encoding);
  return settings;
}

bool CDlgAccount::Save() {
  const AccountSettings settings = FieldsOfWindow();
  const std::string invalid = InvalidAccountSettings(settings);
  if (!invalid.empty()) {
    SetItemText(kAccountStatusLine, invalid);
    return false;
  }
  const std::string problem = SaveAccountSettings(shown_account_, settings, loaded_);
  // Also a failed write may have written some keys, and a keyring that refused the password
  // leaves the other settings written.
  changed_ = true;
  if (!problem.empty()) {
    SetItemText(kAccountStatusLine, problem);
    return false;
  }
  last_saved_account_ = shown_account_;
  last_saved_settings_ = settings;
  ShowAccount(shown_account_);
  SetItemText(kAccountStatusLine, FormatText("Saved as account %d.", shown_account_));
  return true;
}

void CDlgAccount::Remove() {
  if (shown_account_ != account_count_) return;
  const std::string question = FormatText(
      "Remove account %d (%s)?\nIts mailbox folder and the mail in it stay.", shown_account_, loaded_.name.c_str());
  if (MessageBox(question, kBoxYesNo | kBoxIconQuestion) != kButtonYes) return;
  sign_in_.Stop();
  const std::string problem = RemoveLastAccount();
  changed_ = true;
  if (last_saved_account_ == shown_account_) last_saved_account_ = 0;
  ShowAccount(ConfiguredAccountCount() >= 1 ? ConfiguredAccountCount() : 1);
  SetItemText(kAccountStatusLine, problem.empty() ? "Account removed." : problem);
}

void CDlgAccount::Test() {
  const AccountSettings settings = FieldsOfWindow();
  const unsigned timeout_ms = ReadStartupSettings().ReplyTimeoutMs();
  SetItemText(kAccountStatusLine, "Testing...");
  AccountCheck check;
  CWaitCursor wait;
  UiBackend().RunWhileResponsive(Peer(), [&] { check = CheckAccount(shown_account_, settings, timeout_ms); });
  SetItemText(kAccountStatusLine, check.line);
  LogEvent("Account test of '" + settings.name + "': " + check.line);
  SetFocusItem(kAccountTestButton);  // the wait took the focus away; the keys work again at once
}

void CDlgAccount::FillInPort(int security_choice, int port_field, MailProtocol protocol) {
  const TlsMode mode = kSecurityModes[Chosen(*this, security_choice)];
  SetItemText(port_field, SuggestedPort(protocol, mode, ItemText(port_field)));
}

void CDlgAccount::OtherAccountChosen() {
  const int chosen = ComboSelection(kAccountChoice) + 1;
  SelectComboEntry(kAccountChoice, shown_account_ - 1);
  if (chosen == shown_account_ || !ChangesSettled()) return;
  sign_in_.Stop();
  ShowAccount(chosen);
  SetItemText(kAccountStatusLine, "");
}

bool CDlgAccount::ChangesSettled() {
  if (FieldsOfWindow() == shown_) return true;
  const std::string question = FormatText("Save the changes to account %d?", shown_account_);
  switch (MessageBox(question, kBoxYesNoCancel | kBoxIconQuestion)) {
    case kButtonYes:
      return Save();
    case kButtonNo:
      return true;
    default:
      return false;
  }
}

void CDlgAccount::OnOK() { Save(); }

void CDlgAccount::OnCancel() {
  if (ChangesSettled()) EndDialog(kIdCancel);
}

void CDlgAccount::OnDestroy() { sign_in_.Stop(); }

}  // namespace larkspin
