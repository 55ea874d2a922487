#include "file_view/dlg_open_attachment.h"

#include <vector>

#include "common/format.h"
#include "common/message_box.h"
#include "platform/file_listing.h"
#include "platform/file_system.h"
#include "res/control_ids.h"
#include "res/resources.h"
#include "ui/backend.h"

namespace larkspin {

CDlgOpenAttachment::CDlgOpenAttachment(std::string folder, std::string extension, int icon_id, CDialog* parent)
    : CDialog(kDialogOpenAttachment, parent),
      folder_(std::move(folder)),
      extension_(std::move(extension)),
      icon_id_(icon_id) {
  Commands().OnNotify(kAttachmentFileList, NotifyCode::kSelectionChange, [this](const Notification&) { ListClicked(); });
  Commands().OnNotify(kAttachmentFileList, NotifyCode::kDoubleClick, [this](const Notification&) { ListDoubleClicked(); });
  Commands().OnNotify(kAttachmentNameField, NotifyCode::kTextChange, [this](const Notification&) { NameTyped(); });
}

bool CDlgOpenAttachment::OnInitDialog() {
  ok_button_.Attach(*this, kIdOk);
  cancel_button_.Attach(*this, kIdCancel);
  SetWindowText(LoadResourceString(kStringOpenAttachment));
  EnableItem(kIdOk, false);
  if (!FolderExists(folder_)) {
    UiBackend().MessageBox(Peer(), FormatText("Directory %s does not exist", folder_.c_str()), "Custom Open File Dialog",
                           kBoxOk | kBoxIconWarning);
    EndDialog(kIdCancel);
    return false;
  }
  FillList();
  return true;
}

void CDlgOpenAttachment::FillList() {
  std::vector<std::string> names;
  ListFiles(folder_ + "/*." + extension_, names);
  CListModel* list = List(kAttachmentFileList);
  if (!list) return;
  list->ImageList() = {icon_id_};
  for (size_t i = 0; i < names.size(); ++i) {
    ListRow row;
    row.texts = {names[i]};
    row.image = 0;
    row.key = i;
    list->InsertRow(static_cast<int>(i), std::move(row));
  }
  ListChanged(kAttachmentFileList);
}

std::string CDlgOpenAttachment::SelectedName() {
  const CListModel* list = List(kAttachmentFileList);
  if (!list) return {};
  const std::vector<int> selected = list->SelectedRows();
  return selected.empty() ? std::string() : list->CellText(selected.front(), 0);
}

void CDlgOpenAttachment::ListClicked() {
  const std::string name = SelectedName();
  if (!name.empty()) {
    result_ = name;
    SetItemText(kAttachmentNameField, name);
    NameTyped();
    return;
  }
  result_ = ItemText(kAttachmentNameField);
  if (result_.empty()) EnableItem(kIdOk, false);
}

void CDlgOpenAttachment::ListDoubleClicked() {
  const std::string name = SelectedName();
  if (!name.empty()) result_ = name;
  EndDialog(kIdOk);
}

void CDlgOpenAttachment::NameTyped() {
  result_ = ItemText(kAttachmentNameField);
  EnableItem(kIdOk, !result_.empty());
}

void CDlgOpenAttachment::OnOK() {
  const std::string selected = SelectedName();
  if (selected.empty()) {
    result_ = ItemText(kAttachmentNameField);
    const std::string suffix = "." + extension_;
    if (!result_.empty() && result_.find(suffix) == std::string::npos) result_ += suffix;
  } else {
    result_ = selected;
  }
  EndDialog(kIdOk);
}

}  // namespace larkspin
