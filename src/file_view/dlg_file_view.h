#pragma once
// The message view (template 10101): one stored text file (a downloaded message, a sent copy,
// the disclaimer or the log) in a read-only rich text control, its attachments in a sorted
// drop-down list, and Print, Open and Close.
//
// The main window keeps one hidden instance, sets the file, sender, subject and attachment folder
// and shows it with ShowFile(); Close hides it. The disclaimer and the log each run an instance
// of their own modally. The file is read afresh every time the window is shown.
#include <functional>
#include <string>
#include <vector>

#include "config/language_file.h"
#include "file_view/read_only_rich_edit.h"
#include "widgets/icon_button.h"
#include "widgets/sizing_dialog.h"

namespace larkspin {

class CDlgFileView : public CSizingDialog {
 public:
  // Hands a path to the desktop's associated program.
  using Opener = std::function<void(const std::string& path)>;

  explicit CDlgFileView(CDialog* parent = nullptr, CProfileStore profile = CProfileStore(),
                        std::string language_file = LanguageFilePath());

  void SetFileName(const std::string& path) { file_name_ = path; }
  void SetSender(const std::string& sender) { sender_ = sender; }
  void SetSubject(const std::string& subject) { subject_ = subject; }
  // The folder holding the "attach" sub-folder; empty: listed names are paths as typed (sent copies).
  void SetAttachmentFolder(const std::string& folder) { attachment_folder_ = folder; }
  // For tests and other platforms: how Open hands a file over (the desktop's opener by default).
  void SetOpener(Opener opener) { opener_ = std::move(opener); }

  // The number of attachments the loaded file lists.
  int AttachmentCount() const { return attachment_count_; }

  // The modeless use: shows the window, or loads the file again when it is already shown.
  void ShowFile();

 protected:
  bool OnInitDialog() override;
  void OnShown() override { Load(); }
  void OnOK() override { Close(); }
  void OnCancel() override { Close(); }

 private:
  void SetUpButtons();
  void Load();
  // The file's text cut to fit below limit; false (after its message box) when it cannot be opened.
  bool ReadShownText(int limit, std::string& text);
  void ShowText(const std::string& text);
  void ListAttachments(const std::string& text);
  void ShowStatus(const std::string& status);
  void Print();
  void OpenAttachment();
  void Close();

  std::string language_file_;
  CIconButton print_button_;
  CIconButton close_button_;
  CIconButton open_button_;
  CReadOnlyRichEdit text_;
  std::string sender_;
  std::string subject_;
  int attachment_count_ = 0;
  std::string file_name_;
  std::string attachment_folder_;
  // The listed names as the message file holds them, by their place in the selector: the
  // selector shows them converted for the screen, which may not give the same bytes back.
  std::vector<std::string> attachment_names_;
  Opener opener_;
};

}  // namespace larkspin
