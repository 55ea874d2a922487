#pragma once
// The about box (template 100): the version, a line on what the program does, the link to the
// product's web site and the Disclaimer button.
#include "widgets/icon_button.h"
#include "widgets/link_label.h"
#include "widgets/sizing_dialog.h"

namespace larkspin {

class CDlgAbout : public CSizingDialog {
 public:
  // The box remembers its geometry in profile, in a section of its own.
  CDlgAbout(CDialog* parent, CProfileStore profile);

 protected:
  bool OnInitDialog() override;

 private:
  void ShowDisclaimer();

  CLinkLabel link_;
  CIconButton ok_button_;
  CIconButton disclaimer_button_;
};

}  // namespace larkspin
