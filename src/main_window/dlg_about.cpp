#include "main_window/dlg_about.h"

#include "config/working_files.h"
#include "file_view/dlg_file_view.h"
#include "main_window/main_window_texts.h"
#include "res/control_ids.h"
#include "res/resources.h"

namespace larkspin {

CDlgAbout::CDlgAbout(CDialog* parent, CProfileStore profile) : CSizingDialog(kDialogAbout, parent, std::move(profile)) {
  Commands().OnCommand(kAboutDisclaimerButton, [this] { ShowDisclaimer(); });
}

bool CDlgAbout::OnInitDialog() {
  CSizingDialog::OnInitDialog();
  SetItemText(kAboutVersionLabel, LoadResourceString(kStringVersion));
  SetItemText(kAboutWebLink, kDefaultVisitText);
  link_.SetLinkAddress(kProductWebAddress);
  link_.Attach(*this, kAboutWebLink);
  ok_button_.Attach(*this, kIdOk);
  disclaimer_button_.Attach(*this, kAboutDisclaimerButton);
  return true;
}

void CDlgAbout::ShowDisclaimer() {
  CDlgFileView view(this, Profile());
  view.SetFileName(kDisclaimerFile);
  view.SetSender("Larkspin");
  view.SetSubject("Disclaimer");
  view.DoModal();
}

}  // namespace larkspin
