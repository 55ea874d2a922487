#include "file_view/dlg_file_view.h"

#include <cstdio>

#include "common/format.h"
#include "common/message_box.h"
#include "config/ini_file.h"
#include "config/language_table.h"
#include "config/working_files.h"
#include "file_view/attachment_line.h"
#include "mailbox/message_file.h"
#include "res/control_ids.h"
#include "res/resources.h"
#include "widgets/desktop_open.h"
#include "widgets/rtf_stream.h"
#include "widgets/text_file_printer.h"

namespace larkspin {

namespace {
constexpr Colour kTextBackground = Rgb(235, 235, 210);
// A file longer than the text limit is shown cut this many bytes below it.
constexpr int kLimitMargin = 10;

void OpenWithDesktopReporting(const std::string& path) {
  OpenWithDesktop(path, FormatText("Could not open the attachment '%s':", path.c_str()));
}
}  // namespace

CDlgFileView::CDlgFileView(CDialog* parent, CProfileStore profile, std::string language_file)
    : CSizingDialog(kDialogFileView, parent, std::move(profile)),
      language_file_(std::move(language_file)),
      opener_(OpenWithDesktopReporting) {
  AnchorControl(kFileViewPrintButton, kAnchorMoveDown);
  AnchorControl(kFileViewCloseButton, kAnchorMoveRight | kAnchorMoveDown);
  AnchorControl(kFileViewStatusLine, kAnchorMoveDown | kAnchorStretchRight);
  AnchorControl(kFileViewText, kAnchorStretchRight | kAnchorStretchDown);
  AnchorControl(kFileViewAttachmentSelector, kAnchorMoveDown);
  AnchorControl(kFileViewOpenButton, kAnchorMoveDown);
  Commands().OnCommand(kFileViewPrintButton, [this] { Print(); });
  Commands().OnCommand(kFileViewCloseButton, [this] { Close(); });
  Commands().OnCommand(kFileViewOpenButton, [this] { OpenAttachment(); });
}

bool CDlgFileView::OnInitDialog() {
  CSizingDialog::OnInitDialog();
  SetRememberGeometry(true);
  SetIcon(kIconApplication);
  SetUpButtons();
  if (!text_.Attach(*this, kFileViewText)) MessageBox("SubclassDlgItem failed", kBoxOk);
  EnableItem(kFileViewText, true);
  SetBackground(kFileViewText, kTextBackground);
  SetTextLimit(kFileViewText, 0);
  return true;
}

void CDlgFileView::SetUpButtons() {
  const CLanguageTable language(language_file_);
  const struct {
    CIconButton& button;
    int id;
    const char* key;
  } buttons[] = {{print_button_, kFileViewPrintButton, "PrintRead"},
                 {close_button_, kFileViewCloseButton, "CloseRead"},
                 {open_button_, kFileViewOpenButton, "OpenAttach"}};
  for (const auto& entry : buttons) {
    entry.button.Attach(*this, entry.id);
    SetItemText(entry.id, language.TextOrNa("Buttons", entry.key));
  }
}

void CDlgFileView::ShowFile() {
  if (IsWindowVisible()) Load();
  ShowWindow(true);
}

// The text and the list are emptied first, so that a file that cannot be read never shows the
// previous message under the new caption.
void CDlgFileView::Load() {
  const int limit = TextLimit(kFileViewText);
  if (file_name_.empty()) {
    MessageBox("CDlgFileView: Filename not properly set", kBoxOk);
    return;
  }
  SetItemText(kFileViewText, "");
  ResetCombo(kFileViewAttachmentSelector);
  std::string text;
  if (ReadShownText(limit, text)) ShowText(text);
  ListAttachments(text);
  ShowStatus(FormatText("Ready - Number of attachments: %d", attachment_count_));
  SetWindowText(FormatText("Message From:%s (%s)", sender_.c_str(), subject_.c_str()));
  ScrollToTop(kFileViewText);
}

bool CDlgFileView::ReadShownText(int limit, std::string& text) {
  FILE* file = std::fopen(file_name_.c_str(), "rb");
  if (!file) {
    MessageBox("Could not open file for reading: " + file_name_, kBoxOk);
    return false;
  }
  std::fseek(file, 0, SEEK_END);
  const long length = std::ftell(file);
  std::fseek(file, 0, SEEK_SET);
  const long wanted = length > limit ? limit - kLimitMargin : length;
  text.resize(static_cast<size_t>(wanted > 0 ? wanted : 0));
  const size_t read = std::fread(text.data(), 1, text.size(), file);
  if (read < text.size() || length < 0) MessageBox("A Read Error has occured.", kBoxOk);
  text.resize(read);
  std::fclose(file);
  return true;
}

void CDlgFileView::ShowText(const std::string& text) {
  const CIniFile config(kConfigFile);
  const std::string face = config.ReadString("Font", "StyleView", "Arial");
  const int size = config.ReadInt("Font", "SizeView", 20);
  CRtfStream() << SetSize(size) << SetFont(face) << AppendText(text) << SaveAttributes
               << FlushTo(*this, kFileViewText);
}

void CDlgFileView::ListAttachments(const std::string& text) {
  attachment_names_.clear();
  for (const std::string& name : StoredAttachmentNames(text)) {
    const int index = AddComboEntry(kFileViewAttachmentSelector, name);
    if (index >= 0 && static_cast<size_t>(index) <= attachment_names_.size())
      attachment_names_.insert(attachment_names_.begin() + index, name);
  }
  SelectComboEntry(kFileViewAttachmentSelector, 0);
  attachment_count_ = ComboCount(kFileViewAttachmentSelector);
}

void CDlgFileView::ShowStatus(const std::string& status) { SetItemText(kFileViewStatusLine, status); }

void CDlgFileView::Print() {
  ShowStatus("Printing...");
  const PrintOutcome outcome = CTextFilePrinter(file_name_).PrintFile();
  ShowStatus(outcome == PrintOutcome::kFailed ? "Printing...failed" : "Printing...done");
}

void CDlgFileView::OpenAttachment() {
  const int selected = ComboSelection(kFileViewAttachmentSelector);
  if (selected < 0 || static_cast<size_t>(selected) >= attachment_names_.size()) return;
  const std::string& name = attachment_names_[static_cast<size_t>(selected)];
  const std::string path = AttachmentPath(attachment_folder_, name);
  if (path.empty()) {
    MessageBox(FormatText("The attachment name '%s' does not name a file in the attachment folder; it is not opened.",
                          name.c_str()),
               kBoxOk);
    return;
  }
  opener_(path);
}

void CDlgFileView::Close() {
  SaveGeometry();
  EndDialog(kIdOk);
}

}  // namespace larkspin
