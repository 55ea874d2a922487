#include "compose_window/dlg_send.h"

#include <filesystem>

#include "common/message_box.h"
#include "common/windows_1252.h"
#include "compose_window/shown_text_file.h"
#include "compose_window/send_window_texts.h"
#include "config/current_account.h"
#include "config/ini_file.h"
#include "config/language_file.h"
#include "config/working_files.h"
#include "file_view/read_only_rich_edit.h"
#include "res/control_ids.h"
#include "res/resources.h"
#include "ui/backend.h"
#include "ui/control_state.h"
#include "ui/notification.h"
#include "widgets/rtf_stream.h"

namespace larkspin {

namespace {
constexpr const char* kSignatureFile = "signature.txt";
constexpr Colour kEditorBackground = Rgb(235, 235, 210);
constexpr int kDefaultTextLimit = 0;  // the control's own default
}  // namespace

CDlgSend::CDlgSend(CComposeHost& host, CDialog* parent, std::string to, std::string subject, CProfileStore profile)
    : CSizingDialog(kDialogSend, parent, std::move(profile)),
      host_(host),
      language_(LanguageFilePath()),
      to_(std::move(to)),
      subject_(std::move(subject)) {
  host_.LoadAccountRecord(host_.CurrentAccountNumber(), identity_);
  AnchorControls();
  RegisterCommands();
}

// Closing the window without Close still says QUIT to a server that is connected.
CDlgSend::~CDlgSend() {
  if (connection_) connection_->Disconnect(true);
}

void CDlgSend::AnchorControls() {
  for (const int id : {kSendIdentitySelector, kSendToField, kSendCcField, kSendAttachField, kSendSubjectField})
    AnchorControl(id, kAnchorStretchRight);
  for (const int id : {kSendToAddressButton, kSendCcAddressButton, kSendBccLabel, kSendBccField, kSendBccAddressButton,
                       kSendAttachButton, kSendPriorityLabel, kSendPrioritySelector})
    AnchorControl(id, kAnchorMoveRight);
  AnchorControl(kSendMessageText, kAnchorStretchRight | kAnchorStretchDown);
  for (const int id : {kSendButton, kSendNewButton, kSendPrintButton}) AnchorControl(id, kAnchorMoveDown);
  AnchorControl(kSendCloseButton, kAnchorMoveRight | kAnchorMoveDown);
}

void CDlgSend::RegisterCommands() {
  CCommandMap& map = Commands();
  map.OnCommand(kSendButton, [this] { OnSend(); });
  map.OnCommand(kSendNewButton, [this] { OnNew(); });
  map.OnCommand(kSendCloseButton, [this] { OnClose(); });
  map.OnCommand(kSendAttachButton, [this] { OnAttach(); });
  map.OnCommand(kSendToAddressButton, [this] { ShowAddressMenu(kSendToField); });
  map.OnCommand(kSendCcAddressButton, [this] { ShowAddressMenu(kSendCcField); });
  map.OnCommand(kSendBccAddressButton, [this] { ShowAddressMenu(kSendBccField); });
  for (int command = kFirstAddressCommand; command <= kLastAddressCommand; ++command)
    map.OnCommand(command, [this, command] { PickAddress(command); });
  map.OnCommand(kCustomizeAddressCommand, [this] { host_.OpenInEditor("address.txt"); });
  map.OnNotify(kSendIdentitySelector, NotifyCode::kSelectionChange, [this](const Notification&) { OnIdentityChange(); });
}

bool CDlgSend::OnInitDialog() {
  CSizingDialog::OnInitDialog();
  SetItemText(kSendToField, to_);
  SetItemText(kSendSubjectField, subject_);
  SetIcon(kIconApplication);
  SetUpTexts();
  SetFocusItem(FirstFocus());
  SetUpEditor();
  if (subject_.empty() && !draft_) initial_text_ = SignatureText();
  SetItemText(kSendAttachField, attachments_);
  WriteInitialText();
  settings_ = ReadSendSettings(language_);
  FillIdentitySelector();
  main_account_number_ = host_.CurrentAccountNumber();
  ShowCaption(host_.CurrentDisplayName());
  ScrollToTop(kSendMessageText);
  FillPrioritySelector(*this, language_);
  ShowDraft();
  RememberFields();
  return false;  // the focus stays where the mode put it
}

int CDlgSend::FirstFocus() const { return mode_ == kComposeReply ? kSendMessageText : kSendToField; }

// Modern holds signature.txt as UTF-8; one written in Windows-1252 by an earlier version still reads.
std::string CDlgSend::SignatureText() const {
  const std::string text = ShownTextFile(kSignatureFile);
  return host_.TextEncodingOfTexts() == TextEncoding::kUtf8 ? AsUtf8(text) : text;
}

void CDlgSend::SetUpTexts() {
  buttons_.assign(SendWindowButtons().size(), CIconButton());
  for (size_t i = 0; i < SendWindowButtons().size(); ++i) {
    const SendWindowButton& button = SendWindowButtons()[i];
    buttons_[i].Attach(*this, button.id);
    buttons_[i].SetTipText(button.tip_default ? language_.Text("Tooltips", button.tip_key, button.tip_default)
                                              : language_.TextOrNa("Tooltips", button.tip_key));
    if (button.caption_key) SetItemText(button.id, language_.Text("Buttons", button.caption_key, button.caption_default));
  }
  for (const SendWindowLabel& label : SendWindowLabels()) SetItemText(label.id, language_.TextOrNa("Labels", label.key));
}

// The message view's read-only text control, made writable for the message text.
void CDlgSend::SetUpEditor() {
  if (!CReadOnlyRichEdit().Attach(*this, kSendMessageText)) {
    MessageBox("SubclassDlgItem failed", kBoxOk);
    return;
  }
  EnableItem(kSendMessageText, true);
  SetReadOnly(kSendMessageText, false);
  SetBackground(kSendMessageText, kEditorBackground);
  SetTextLimit(kSendMessageText, kDefaultTextLimit);
}

// An empty first paragraph in black for the user's own words, then the initial text in blue.
void CDlgSend::WriteInitialText() {
  if (!initial_text_) return;
  const CIniFile config(kConfigFile);
  CRtfStream() << SetSize(config.ReadInt("Font", "SizeEdit", 20)) << SetFont(config.ReadString("Font", "StyleEdit", "Arial"))
               << ColorBlack << AppendText("\n\r\n\r") << SaveAttributes << ColorBlue << AppendText(*initial_text_)
               << SaveAttributes << FlushTo(*this, kSendMessageText);
  initial_text_.reset();
}

void CDlgSend::FillIdentitySelector() {
  const CIniFile config(kConfigFile);
  const int accounts = ConfiguredAccountCount();
  ResetCombo(kSendIdentitySelector);
  for (int n = 1; n <= accounts; ++n)
    AddComboEntry(kSendIdentitySelector, config.ReadString("Users", AccountSection(n), "Account1"));
  SelectComboEntry(kSendIdentitySelector, identity_.account_number - 1);
}

void CDlgSend::ShowCaption(const std::string& display_name) {
  SetWindowText("Sending Mail thru [" + display_name + " @ " + identity_.smtp_host + "]");
}

void CDlgSend::OnNew() {
  for (const int id : {kSendToField, kSendCcField, kSendBccField, kSendSubjectField, kSendMessageText, kSendAttachField})
    SetItemText(id, "");
  SetFocusItem(kSendToField);
  attachments_.clear();
  in_reply_to_.clear();
  references_.clear();
  initial_text_ = SignatureText();
  WriteInitialText();
  SelectComboEntry(kSendPrioritySelector, kPriorityNormal);
  draft_path_.clear();  // the new message is not that draft
  RememberFields();
}

// The chosen file goes first; Cancel keeps the field as it is.
void CDlgSend::OnAttach() {
  std::error_code error;
  const std::filesystem::path directory = std::filesystem::current_path(error);
  std::string chosen;
  if (UiBackend().ChooseFileToOpen(Peer(), chosen)) {
    const std::string field = ItemText(kSendAttachField);
    attachments_ = field.empty() ? chosen : chosen + "," + field;
    SetItemText(kSendAttachField, attachments_);
  }
  if (!error) std::filesystem::current_path(directory, error);
}

void CDlgSend::OnIdentityChange() {
  host_.LoadAccountRecord(ComboSelection(kSendIdentitySelector) + 1, identity_);
  ShowCaption(identity_.display_name);
}

void CDlgSend::OnClose() {
  if (sending_) return;  // the send's thread still uses the connection
  if (!SettledBeforeClose()) return;
  EndWindow();
}

void CDlgSend::OnProgramEnd() {
  if (sending_) return;
  if (FieldsChanged()) SaveDraft();
  EndWindow();
}

void CDlgSend::EndWindow() {
  if (connection_) {
    connection_->Disconnect(true);
    connection_.reset();
  }
  AccountRecord own_account;
  host_.LoadAccountRecord(main_account_number_, own_account);
  EndDialog(kIdCancel);
}

}  // namespace larkspin
