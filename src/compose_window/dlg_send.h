#pragma once
// The compose window (template 142): the sending identity, To, Cc, Bcc, attachments, subject,
// priority and the text, with Send, New, Close and the address menus of the three recipient
// fields. It stays open after a send; each Send builds its own message, while the SMTP
// connection is made by the first Send and kept until Close (or dropped after a failed connect
// and made anew by the next Send).
//
// Send runs the SMTP exchange on a thread of its own while every window is disabled but keeps
// repainting; its message boxes are shown on the UI thread as they arise, in the order of the
// send's steps.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "compose/send_mail.h"
#include "compose_window/compose_host.h"
#include "config/account_record.h"
#include "config/language_table.h"
#include "smtp/smtp_connection.h"
#include "widgets/icon_button.h"
#include "widgets/sizing_dialog.h"

namespace larkspin {

// What the opener prepares; it decides where the focus starts.
enum ComposeMode : int { kComposeNew = 0, kComposeReply = 1, kComposeForward = 2 };

// The address menu's commands: entry n is kFirstAddressCommand + n.
inline constexpr int kFirstAddressCommand = 2000;
inline constexpr int kLastAddressCommand = 2100;
inline constexpr int kCustomizeAddressCommand = 104;

class CDlgSend : public CSizingDialog {
 public:
  // Loads the identity of the host's current account (which may ask for its login).
  CDlgSend(CComposeHost& host, CDialog* parent, std::string to, std::string subject,
           CProfileStore profile = CProfileStore());
  ~CDlgSend() override;

  void SetAttachments(const std::string& attachments) { attachments_ = attachments; }
  void SetInitialText(const std::string& text) { initial_text_ = text; }
  void SetMode(ComposeMode mode) { mode_ = mode; }
  // The ids a reply sends in In-Reply-To and References; New drops them.
  void SetReplyIds(std::string in_reply_to, std::string references) {
    in_reply_to_ = std::move(in_reply_to);
    references_ = std::move(references);
  }

  const AccountRecord& Identity() const { return identity_; }
  bool HasConnection() const { return connection_ != nullptr; }
  const CSMTPConnection* Connection() const { return connection_.get(); }

 protected:
  bool OnInitDialog() override;
  // A toolkit may move the focus to the first control when it shows the window: it goes back
  // where the mode put it.
  void OnShown() override { SetFocusItem(FirstFocus()); }
  void OnCancel() override { OnClose(); }
  void OnOK() override {}  // Return in a field sends nothing

 private:
  void RegisterCommands();
  void AnchorControls();
  void SetUpTexts();
  // The editor for a reply, To otherwise.
  int FirstFocus() const;
  void SetUpEditor();
  void WriteInitialText();
  void FillIdentitySelector();
  void ShowCaption(const std::string& display_name);

  void OnSend();
  ComposedMail FieldsOfWindow();
  void ReportOutcome(const SendOutcome& outcome);
  void OnNew();
  void OnAttach();
  void OnIdentityChange();
  void OnClose();

  // The address menu of a recipient field (address_menu.cpp).
  void ShowAddressMenu(int target_field);
  void PickAddress(int command);

  CComposeHost& host_;
  CLanguageTable language_;
  std::string to_;
  std::string cc_;
  std::string subject_;
  std::string bcc_;
  std::string attachments_;
  std::string in_reply_to_;
  std::string references_;
  // StripUmlaut and the texts as the window opened; time-out and encoding come from the host.
  SendSettings settings_;
  std::optional<std::string> initial_text_;
  std::vector<std::string> address_entries_;
  int address_target_ = 0;  // the field the address menu fills; 0 for none
  std::unique_ptr<CSMTPConnection> connection_;
  std::vector<CIconButton> buttons_;
  AccountRecord identity_;
  int main_account_number_ = 0;
  ComposeMode mode_ = kComposeNew;
  bool sending_ = false;
};

}  // namespace larkspin
