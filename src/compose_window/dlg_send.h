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
//
// Close (or Escape) after a change that was not sent asks "Save this message as a draft?": Yes
// writes the draft into the identity's drafts folder and closes (a draft that cannot be written
// is reported and the window stays), No closes, Cancel keeps the window with the focus where it
// was. A change is any difference in identity, recipients, subject, text or attachments from the
// window as it opened, was last sent or was renewed by New; the priority alone is none.
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
  // Opens the window on the draft saved at path: its fields instead of the opener's and no
  // signature. Yes at Close writes that same file (a new one in the drafts folder of another
  // identity, and the old file goes); a successful send removes it.
  void SetDraft(const std::string& path, const ComposedMail& mail);
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
  // Nobody can be asked any more: a changed message is kept as a draft. Waits for a running send.
  void OnProgramEnd() override;

 private:
  void RegisterCommands();
  void AnchorControls();
  void SetUpTexts();
  // The editor for a reply, To otherwise.
  int FirstFocus() const;
  void SetUpEditor();
  std::string SignatureText() const;
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
  void EndWindow();

  // Drafts (window_draft.cpp).
  ComposedMail TypedFields() const;
  void ShowDraft();
  // The fields as they are now count as unchanged.
  void RememberFields();
  bool FieldsChanged() const;
  // Asks about a changed message; false when the window is to stay open.
  bool SettledBeforeClose();
  bool SaveDraft();
  // After a successful send: the draft it came from is removed and nothing is left unsent.
  void OnMessageSent();

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
  std::optional<ComposedMail> draft_;  // shown when the window opens
  std::string draft_path_;             // the draft file this message was opened from or saved to
  ComposedMail remembered_fields_;
  int remembered_identity_ = 0;
};

}  // namespace larkspin
