#pragma once
// The one-line input box: a caption, a prompt, an edit field that may hide what is typed, and an
// optional "Remember" check box. It stores nothing; the caller reads the result and the check
// box. OK hands over the field's text (possibly empty), Cancel an empty text.
#include <string>

#include "config/input_prompt.h"
#include "config/language_file.h"
#include "ui/dialog.h"
#include "widgets/icon_button.h"

namespace larkspin {

class CDlgInput : public CDialog, public CInputPrompt {
 public:
  explicit CDlgInput(CDialog* parent = nullptr, std::string language_file = LanguageFilePath());

  void SetCaption(const std::string& caption) { caption_ = caption; }
  void SetPrompt(const std::string& prompt) { prompt_ = prompt; }
  void SetInitialText(const std::string& text) { initial_text_ = text; }
  void SetPasswordStyle(bool password) { password_style_ = password; }
  void SetShowRemember(bool show) { show_remember_ = show; }
  void SetRemember(bool remember) { remember_ = remember; }

  const std::string& Result() const { return result_; }
  bool Remember() const { return remember_; }

  // CInputPrompt: sets the dialog up from the request and runs it.
  bool Ask(const InputRequest& request, InputAnswer& answer) override;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

 private:
  std::string language_file_;
  std::string result_;
  CIconButton ok_button_;
  CIconButton cancel_button_;
  std::string prompt_;
  bool remember_ = false;
  bool show_remember_ = true;
  bool password_style_ = false;
  std::string initial_text_;
  TextEncoding answer_encoding_ = TextEncoding::kClassic;
  std::string caption_;
};

}  // namespace larkspin
