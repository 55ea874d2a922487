#include "dialogs/dlg_input.h"

#include "config/ini_file.h"
#include "res/control_ids.h"
#include "res/resources.h"

namespace larkspin {

CDlgInput::CDlgInput(CDialog* parent, std::string language_file)
    : CDialog(kDialogInput, parent), language_file_(std::move(language_file)) {}

bool CDlgInput::OnInitDialog() {
  ok_button_.Attach(*this, kIdOk);
  cancel_button_.Attach(*this, kIdCancel);
  SetItemText(kInputRememberBox, CIniFile(language_file_).ReadString("Labels", "Remember", "Remember"));
  SetItemText(kInputField, initial_text_);
  SetWindowText(caption_);
  if (password_style_) CDialog::SetPasswordStyle(kInputField, true);
  if (!show_remember_) ShowItem(kInputRememberBox, false);
  SetItemText(kInputPrompt, prompt_);
  SetCheck(kInputRememberBox, remember_);
  SetFocusItem(kInputField);
  return true;
}

void CDlgInput::OnOK() {
  remember_ = IsChecked(kInputRememberBox);
  result_ = TypedItemText(kInputField, answer_encoding_);
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
  answer_encoding_ = request.answer_encoding;
  result_.clear();
  const bool confirmed = DoModal() == kIdOk;
  answer.text = result_;
  answer.remember = remember_;
  return confirmed;
}

}  // namespace larkspin
