// Reading stored files from the main window: the one hidden message view that shows a
// double-clicked message, the log in a modal view of its own, emptying the log, and the
// attachment picker over the account's attach folder.
#include <cstdio>

#include "common/message_box.h"
#include "config/ini_file.h"
#include "config/log.h"
#include "config/working_files.h"
#include "file_view/dlg_open_attachment.h"
#include "mailbox/mailbox_layout.h"
#include "main_window/dlg_main.h"
#include "main_window/log_opening.h"
#include "res/resources.h"
#include "widgets/desktop_open.h"

namespace larkspin {

void CDlgMain::CreateMessageView() {
  if (services_.show_message) return;
  message_view_.Create();
  services_.show_message = [this](const MessageViewRequest& request) { ShowMessageView(request); };
}

void CDlgMain::ShowMessageView(const MessageViewRequest& request) {
  message_view_.SetFileName(request.file_name);
  message_view_.SetSender(request.sender);
  message_view_.SetSubject(request.subject);
  message_view_.SetAttachmentFolder(request.attachment_folder);
  message_view_.ShowFile();
}

// The log is closed while the view reads it and opened again for appending afterwards.
void CDlgMain::ShowLogfile() {
  CloseLog();
  CDlgFileView view(this, Profile());
  view.SetFileName(kLogFile);
  view.SetSubject("Logfile");
  view.SetSender("Larkspin");
  view.DoModal();
  log_opened_ = OpenLogOrShowFailure();
}

void CDlgMain::EmptyLogfile() {
  const std::string question = CIniFile(kConfigFile).ReadString("Messages", "EmptyLogfile", "Empty Logfile now?");
  if (MessageBox(question, kBoxYesNo | kBoxIconQuestion) != kButtonYes) return;
  CloseLog();
  std::remove(kLogFile);
  log_opened_ = OpenLogOrShowFailure();
}

void CDlgMain::PickAttachment() {
  std::string folder = working_directory_ + AttachFolder(account_.account_number);
  folder.pop_back();  // the picker takes the folder without its closing "/"
  CDlgOpenAttachment picker(folder, "*", kIconAttachment, this);
  // A double-click on empty space ends the picker with OK and no name: that opens nothing.
  if (picker.DoModal() != kIdOk || picker.Result().empty()) return;
  if (services_.open_with_desktop) services_.open_with_desktop(picker.GetPath());
  else OpenWithDesktop(picker.GetPath(), "Could not open the attachment '" + picker.GetPath() + "':");
}

}  // namespace larkspin
