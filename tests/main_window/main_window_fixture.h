#pragma once
// A main window on the headless backend in a temporary working folder, with its own profile
// store, a listening sound output and no waits, and the helpers the window tests share.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "main_window/dlg_main.h"
#include "support/temp_folder.h"
#include "support/test_config.h"
#include "ui/headless/headless_backend.h"

namespace larkspin::test_support {

class FakeSound : public CSoundOutput {
 public:
  void PlayWaveFile(const std::string& path) override {
    (void)path;
    ++waves;
  }
  void Tone(int frequency_hz, int duration_ms) override {
    last_tone_hz = frequency_hz;
    last_tone_ms = duration_ms;
    ++tones;
  }
  std::atomic<int> waves{0};
  std::atomic<int> tones{0};
  std::atomic<int> last_tone_hz{0};
  std::atomic<int> last_tone_ms{0};
};

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest();
  ~MainWindowTest() override;

  // Writes config.ini (mode 0600): "[System]" with the given lines, "[Users]" with the display
  // names, and the account sections.
  void WriteConfig(const std::string& system_lines, const std::vector<std::string>& names,
                   const std::string& accounts);
  // Makes and shows the window (its initialisation runs); false when it refused to start.
  bool Open();
  CDlgMain& Dialog() { return *dialog_; }
  CHeadlessWindow& Window();
  void Close();

  // Pumps the worker's UI calls until the running peek has ended; records every status line
  // text shown meanwhile.
  bool WaitForPeek();
  // Clicks Connect and waits for the peek.
  bool PeekByConnect();

  std::string Status() { return Window().Text(kStatusLine); }
  int RowCount() { return Dialog().HeaderList().RowCount(); }
  std::string Cell(int row, int column) { return Dialog().HeaderList().Text(row, column); }
  int Icon(int row) { return Dialog().HeaderList().RowIcon(row); }
  void SelectRows(const std::vector<int>& rows) { ASSERT_TRUE(Window().SelectRows(kHeaderList, rows)); }
  // The row of the message with this server number.
  int RowOfMessage(int message_number);
  std::vector<std::string> MessageBoxTexts() const;
  std::string LogText() const { return ReadFile(folder_.File("larkspin.log")); }
  CProfileStore Profile() const { return CProfileStore(profile_path_); }

  TempFolder folder_;
  ScopedWorkingDirectory here_{folder_.Path()};
  std::string profile_path_;
  CHeadlessBackend backend_;
  CScopedUiBackend installed_{backend_};
  FakeSound sound_;
  std::vector<std::string> statuses_;
  bool use_message_view_ = false;  // the window's own message view instead of recording requests
  std::vector<MessageViewRequest> opened_messages_;
  std::vector<std::string> desktop_opened_;
  std::vector<std::string> edited_files_;
  bool editor_starts_ = true;
  bool offer_account_setup_ = false;  // the account dialog at a start without accounts
  int process_ends_ = 0;
  std::unique_ptr<CDlgMain> dialog_;
};

}  // namespace larkspin::test_support
