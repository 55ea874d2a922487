#include "dialogs/dlg_input.h"

#include "config/ini_file.h"
#include "res/resources.h"

namespace larkspin {

namespace {
constexpr int kPromptText = 11005;
constexpr int kEditField = 11004;
constexpr int kRememberBox = 1047;
}  // namespace

CDlgInput::CDlgInput(CDialog* parent, std::string language_file)
    : CDialog(kDialogInput, parent), language_file_(std::move(language_file)) {}

bool CDlgInput::OnInitDialog() {
  ok_button_.Attach(*this, kIdOk);
  cancel_button_.Attach(*this, kIdCancel);
  SetItemText(kRememberBox, CIniFile(language_file_).ReadString("Labels", "Remember", "Remember"));
  SetItemText(kEditField, initial_text_);
  SetWindowText(caption_);
  if (password_style_) CDialog::SetPasswordStyle(kEditField, true);
  if (!show_remember_) ShowItem(kRememberBox, false);
  SetItemText(kPromptText, prompt_);
  SetCheck(kRememberBox, remember_);
  SetFocusItem(kEditField);
  return true;
}

void CDlgInput::OnOK() {
  remember_ = IsChecked(kRememberBox);
  result_ = ItemText(kEditField);
  EndDialog(kIdOk);
}

void CDlgInput::OnCancel() {
  result_.clear();
  EndDialog(kIdCancel);
}

bool CDlgInput::Ask(const InputRequest& request, InputAnswer& answer) {
  SetCaption(request.caption);
  SetPrompt(request.prompt);
  SetInitialText(request.initial_text);
  SetPasswordStyle(request.password_style);
  SetShowRemember(request.show_remember);
  SetRemember(request.remember_preset);
  result_.clear();
  const bool confirmed = DoModal() == kIdOk;
  answer.text = result_;
  answer.remember = remember_;
  return confirmed;
}

}  // namespace larkspin
