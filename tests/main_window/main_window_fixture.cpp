#include "main_window/main_window_fixture.h"

#include <sys/stat.h>

#include "res/resources.h"

namespace larkspin::test_support {

MainWindowTest::MainWindowTest() : profile_path_(folder_.File("profile.ini")) {
  // No program password, this version's greeting already seen, and no preview pane: a selected
  // row fetches no preview unless a test shows the pane.
  Profile().WriteString(kMainWindowSection, "pw", "");
  Profile().WriteString(kMainWindowSection, "info", LoadResourceString(kStringVersion));
  Profile().WriteInt(kMainWindowSection, "preview", 0);
}

MainWindowTest::~MainWindowTest() { Close(); }

void MainWindowTest::WriteConfig(const std::string& system_lines, const std::vector<std::string>& names,
                                 const std::string& accounts) {
  WriteFile(folder_.File("config.ini"), ConfigText(system_lines, names, accounts));
  // Private, as the launcher and the program write it: a readable one is warned about at start.
  ::chmod(folder_.File("config.ini").c_str(), 0600);
}

bool MainWindowTest::Open() {
  MainWindowServices services;
  services.profile = Profile();
  services.waits = {0, 0, 0, 0};
  services.sound = &sound_;
  services.open_in_editor = [this](const std::string& path) {
    edited_files_.push_back(path);
    return editor_starts_;
  };
  services.end_process = [this] { ++process_ends_; };
  services.offer_account_setup = offer_account_setup_;
  if (!use_message_view_)
    services.show_message = [this](const MessageViewRequest& request) { opened_messages_.push_back(request); };
  services.open_with_desktop = [this](const std::string& path) { desktop_opened_.push_back(path); };
  dialog_ = std::make_unique<CDlgMain>(services);
  if (!dialog_->Create()) return false;
  if (process_ends_ > 0) return false;
  dialog_->ShowWindow(true);
  return true;
}

CHeadlessWindow& MainWindowTest::Window() { return *backend_.WindowOf(*dialog_); }

void MainWindowTest::Close() {
  if (!dialog_) return;
  WaitForPeek();
  dialog_->DestroyWindow();
  dialog_.reset();
}

bool MainWindowTest::WaitForPeek() {
  if (!dialog_ || !dialog_->IsWindow()) return true;
  return backend_.RunUntil(
      [this] {
        const std::string status = Window().Text(kStatusLine);
        if (statuses_.empty() || statuses_.back() != status) statuses_.push_back(status);
        return !dialog_->PeekRunning();
      },
      std::chrono::seconds(20));
}

bool MainWindowTest::PeekByConnect() {
  statuses_.clear();
  if (!Window().Click(kConnectButton)) return false;
  return WaitForPeek();
}

int MainWindowTest::RowOfMessage(int message_number) {
  for (int row = 0; row < RowCount(); ++row)
    if (Dialog().RowRecord(row)->message_number == message_number) return row;
  return -1;
}

std::vector<std::string> MainWindowTest::MessageBoxTexts() const {
  std::vector<std::string> texts;
  for (const ShownMessageBox& box : backend_.MessageBoxes()) texts.push_back(box.text);
  return texts;
}

}  // namespace larkspin::test_support
