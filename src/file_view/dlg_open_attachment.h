#pragma once
// The attachment picker (template 164): the files of one folder that match one extension, each
// behind the same icon, and a name field. A chosen or typed name ends it with OK; GetPath() is
// then folder + "/" + the name.
#include <string>

#include "widgets/icon_button.h"
#include "ui/dialog.h"

namespace larkspin {

class CDlgOpenAttachment : public CDialog {
 public:
  // folder without a trailing "/"; extension without the dot, "*" for every file.
  CDlgOpenAttachment(std::string folder, std::string extension, int icon_id, CDialog* parent = nullptr);

  const std::string& Result() const { return result_; }
  std::string GetPath() const { return folder_ + "/" + result_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  void FillList();
  std::string SelectedName();
  void ListClicked();
  void ListDoubleClicked();
  void NameTyped();

  std::string folder_;
  std::string extension_;
  int icon_id_;
  std::string result_;
  CIconButton ok_button_;
  CIconButton cancel_button_;
};

}  // namespace larkspin
