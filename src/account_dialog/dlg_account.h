#pragma once
// The account dialog (template 170): one account of config.ini at a time, chosen in the account
// list, whose last entry is a new account. Save (OK, also Enter) writes the shown account, as the
// next number when it is new; Remove takes away the last account only; Test logs in to POP3 and
// greets SMTP with the fields as typed and says in the status line what worked. Choosing another
// account or closing with changes that were not saved asks first. The caller reads what changed.
// An account that signs in with OAuth has its provider's fields (the endpoints and scopes only
// for Custom) and Sign in..., which signs the saved account in on a thread of its own and reports
// in the status line; pressing it again, choosing another account or closing stops the sign-in.
// The texts of these come from language.ini's [AccountDialog].
#include <string>

#include "account_dialog/account_ports.h"
#include "account_dialog/account_sign_in.h"
#include "admin/account_settings.h"
#include "config/language_table.h"
#include "ui/dialog.h"

namespace larkspin {

class CDlgAccount : public CDialog {
 public:
  // Shows account_number first; one past the last (or 0) shows a new account.
  CDlgAccount(CDialog* parent, int account_number);

  // Whether any account was saved or removed while the dialog was open.
  bool Changed() const { return changed_; }
  // The account saved last, with its login and password as typed (also when they are not
  // remembered), so the main window can use them at once; 0 when none was saved.
  int LastSavedAccount() const { return last_saved_account_; }
  const AccountSettings& LastSavedSettings() const { return last_saved_settings_; }
  // How the sign-in opens its pages in the browser: xdg-open unless set (tests come back from
  // the consent page themselves).
  void SetPageOpener(OpenConsentPage open_page) { open_page_ = std::move(open_page); }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnDestroy() override;

 private:
  void FillChoices();
  void FillAccountList();
  void ShowAccount(int account_number);
  AccountSettings FieldsOfWindow() const;
  void ShowFields(const AccountSettings& settings);
  bool Save();
  void Remove();
  void Test();
  void FillInPort(int security_choice, int port_field, MailProtocol protocol);
  void OtherAccountChosen();
  // Asks whether to save changes the fields hold; false when the user stays (Cancel, or a save
  // that failed).
  bool ChangesSettled();

  // The OAuth part (dlg_account_oauth.cpp).
  void ApplyOAuthTexts();
  // Enables the fields that the chosen sign-in and provider use.
  void EnableOAuthFields();
  void SignInOrStop();
  // The sign-in keeps its token with the saved account: true when the fields are saved (asks).
  bool SavedForSignIn();
  void ShowDeviceCode(const std::string& user_code, const std::string& uri);
  void ShowWaitingForBrowser();
  void SignInFinished(const SignInResult& result);

  int shown_account_ = 0;
  int account_count_ = 0;
  AccountSettings loaded_;  // the shown account as config.ini holds it
  AccountSettings shown_;   // what the fields showed when it was loaded
  bool changed_ = false;
  int last_saved_account_ = 0;
  AccountSettings last_saved_settings_;
  CLanguageTable language_;
  std::string sign_in_caption_;
  OpenConsentPage open_page_;
  CAccountSignIn sign_in_;  // last: it ends first, while the fields it reports to are there
};

}  // namespace larkspin
