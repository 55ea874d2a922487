// The account dialog's OAuth part: which of its fields the chosen sign-in uses, and Sign in...
#include <array>
#include <utility>

#include "account_dialog/dlg_account.h"
#include "common/format.h"
#include "common/message_box.h"
#include "compose/send_mail.h"
#include "config/current_account.h"
#include "config/log.h"
#include "res/control_ids.h"

namespace larkspin {

namespace {
constexpr const char* kTexts = "AccountDialog";

// The captions language.ini may replace, by key; the template's are the defaults.
constexpr std::array<std::pair<int, const char*>, 9> kCaptionKeys = {{
    {kAccountFirstLabel + 13, "Pop3SignIn"},
    {kAccountFirstLabel + 14, "OAuthProvider"},
    {kAccountFirstLabel + 15, "ClientId"},
    {kAccountFirstLabel + 16, "ClientSecret"},
    {kAccountFirstLabel + 17, "AuthorizeUrl"},
    {kAccountFirstLabel + 18, "TokenUrl"},
    {kAccountFirstLabel + 19, "DeviceUrl"},
    {kAccountFirstLabel + 20, "Scopes"},
    {kAccountSignInButton, "SignIn"},
}};

constexpr std::array<int, 7> kProviderFields = {kAccountOAuthProviderChoice, kAccountOAuthClientIdField,
                                                kAccountOAuthClientSecretField, kAccountOAuthAuthorizeUrlField,
                                                kAccountOAuthTokenUrlField, kAccountOAuthDeviceUrlField,
                                                kAccountOAuthScopesField};
// From here on kProviderFields holds the endpoints and scopes, which only Custom has.
constexpr size_t kFirstCustomField = 3;
}  // namespace

void CDlgAccount::ApplyOAuthTexts() {
  for (const auto& [id, key] : kCaptionKeys) SetItemText(id, language_.Text(kTexts, key, ItemText(id)));
  sign_in_caption_ = ItemText(kAccountSignInButton);
}

void CDlgAccount::EnableOAuthFields() {
  const AccountSettings settings = FieldsOfWindow();
  const bool oauth = settings.UsesOAuth();
  const bool custom = oauth && settings.oauth_provider == "Custom";
  for (size_t i = 0; i < kProviderFields.size(); ++i)
    EnableItem(kProviderFields[i], i < kFirstCustomField ? oauth : custom);
  EnableItem(kAccountSignInButton, oauth || sign_in_.Running());
  // The password serves POP3 without OAuth, and SMTP with a password method.
  const int method = AuthMethodOfSetting(settings.authentication);
  const bool password = !settings.pop3_oauth || (method != kAuthNone && method != kAuthOAuth2);
  EnableItem(kAccountPasswordField, password);
  EnableItem(kAccountRememberBox, password);
}

void CDlgAccount::SignInOrStop() {
  if (sign_in_.Running()) {
    sign_in_.Stop();
    return;
  }
  if (!SavedForSignIn()) return;
  SetItemText(kAccountSignInButton, language_.Text(kTexts, "StopSignIn", "Stop sign-&in"));
  SetItemText(kAccountStatusLine, language_.Text(kTexts, "SigningIn", "Signing in..."));
  sign_in_.Start(AccountSection(shown_account_), open_page_);
}

bool CDlgAccount::SavedForSignIn() {
  if (shown_account_ <= account_count_ && FieldsOfWindow() == shown_) return true;
  const std::string question =
      FormatText(language_.Template(kTexts, "SaveBeforeSignIn",
                                    "The sign-in keeps its token with the saved account.\nSave account %d first?")
                     .c_str(),
                 shown_account_);
  return MessageBox(question, kBoxYesNo | kBoxIconQuestion) == kButtonYes && Save();
}

void CDlgAccount::ShowDeviceCode(const std::string& user_code, const std::string& uri) {
  const std::string line = language_.Template(kTexts, "EnterDeviceCode", "To sign in, enter the code %s at %s");
  SetItemText(kAccountStatusLine, FormatText(line.c_str(), user_code.c_str(), uri.c_str()));
}

void CDlgAccount::ShowWaitingForBrowser() {
  SetItemText(kAccountStatusLine,
              language_.Text(kTexts, "WaitingForBrowser", "Waiting for the sign-in in the browser..."));
}

void CDlgAccount::SignInFinished(const SignInResult& result) {
  SetItemText(kAccountSignInButton, sign_in_caption_);
  EnableOAuthFields();
  std::string line;
  if (result.signed_in)
    line = FormatText(language_.Template(kTexts, "SignedIn", "Account %d is signed in.").c_str(), shown_account_);
  else if (result.problem == kSignInStopped)
    line = language_.Text(kTexts, "SignInStopped", "Sign-in stopped.");
  else
    line = FormatText(language_.Template(kTexts, "NotSignedIn", "Not signed in: %s").c_str(), result.problem.c_str());
  SetItemText(kAccountStatusLine, line);
  LogEvent("Sign-in of account " + std::to_string(shown_account_) + ": " + line);
}

}  // namespace larkspin
