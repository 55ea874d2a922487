#pragma once
// The account dialog (template 170): one account of config.ini at a time, chosen in the account
// list, whose last entry is a new account. Save (OK, also Enter) writes the shown account, as the
// next number when it is new; Remove takes away the last account only; Test logs in to POP3 and
// greets SMTP with the fields as typed and says in the status line what worked. Choosing another
// account or closing with changes that were not saved asks first. The caller reads what changed.
#include <string>

#include "account_dialog/account_ports.h"
#include "admin/account_settings.h"
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

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

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

  int shown_account_ = 0;
  int account_count_ = 0;
  AccountSettings loaded_;  // the shown account as config.ini holds it
  AccountSettings shown_;   // what the fields showed when it was loaded
  bool changed_ = false;
  int last_saved_account_ = 0;
  AccountSettings last_saved_settings_;
};

}  // namespace larkspin
