// The new-mail notification on a real desktop: the real main window under Xvfb peeks the demo
// mail server while a notification service (dunst, on a private D-Bus session bus, started by
// run_with_notifications.sh) runs. The notification must reach the service, and a click on it
// must bring the main window back to the front. The screen with the notification is written to
// the build folder as notification_peek.png, with the demo's texts and Charsets=Modern.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "common/format.h"
#include "common/scramble.h"
#include "demo_server/demo_mailbox.h"
#include "demo_server/pop3_service.h"
#include "main_window/dlg_main.h"
#include "main_window/wx/window_test_helpers.h"
#include "res/resources.h"
#include "support/temp_folder.h"
#include "ui/backend.h"
#include "ui/wx/wx_backend.h"

namespace larkspin {
namespace {

using test_support::CSilentSound;
using test_support::ScopedWorkingDirectory;
using test_support::TempFolder;
using test_support::WaitOnUi;
using test_support::WriteFile;

// The first line a shell command prints; empty when it fails.
std::string FirstLineOf(const std::string& command) {
  std::string line;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    if (std::fgets(buffer, sizeof buffer, pipe)) line = buffer;
    pclose(pipe);
  }
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

// Polls command until its first line is expected.
bool WaitForLine(const std::string& command, const std::string& expected, std::chrono::seconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    if (FirstLineOf(command) == expected) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

std::string FocusedWindowName() { return FirstLineOf("timeout 5 xdotool getwindowfocus getwindowname 2>/dev/null"); }

class NotificationWxTest : public ::testing::Test {
 protected:
  NotificationWxTest() {
    std::string error;
    EXPECT_TRUE(mailbox_.Load(LARKSPIN_DEMO_MESSAGES, error)) << error;
    EXPECT_TRUE(service_.Start(0, error)) << error;
    WriteFile(folder_.File("config.ini"),
              FormatText("[System]\r\nAccounts=1\r\nPeekTime=0\r\nCharsets=Modern\r\n[Users]\r\nAccount1=Demo\r\n[Account1]\r\n"
                         "POP3Host=127.0.0.1\r\nPOP3Port=%d\r\nPOP3Account=%s\r\nPOP3Password=%s\r\n",
                         service_.Port(), Scrambled("demo").c_str(), Scrambled("demo").c_str()));
    // The window as the demo shows it: English captions.
    WriteFile(folder_.File("language.ini"), test_support::ReadFile(LARKSPIN_DEMO_LANGUAGE));
    const CProfileStore profile(folder_.File("profile.ini"));
    profile.WriteString(kMainWindowSection, "pw", "");
    profile.WriteString(kMainWindowSection, "info", LoadResourceString(kStringVersion));
  }
  ~NotificationWxTest() override { service_.Stop(); }

  TempFolder folder_;
  ScopedWorkingDirectory here_{folder_.Path()};
  demo::CDemoMailbox mailbox_;
  demo::CPop3Service service_{mailbox_};
  CSilentSound sound_;
};

TEST_F(NotificationWxTest, APeekWithNewMailNotifiesAndTheClickRaisesTheWindow) {
  CDlgMain window(test_support::PeekAtStartServices(folder_.File("profile.ini"), sound_));
  const int messages = static_cast<int>(mailbox_.Messages().size());

  bool notified = false, photographed = false, raised = false;
  std::string focus_before_click;
  std::thread user([&] {
    if (WaitOnUi([&] { return !window.PeekRunning() && window.HeaderList().RowCount() == messages; },
                 std::chrono::seconds(30))) {
      notified = WaitForLine("dunstctl count displayed", "1", std::chrono::seconds(10));
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      photographed = std::system(("import -window root '" + std::string(LARKSPIN_SCREENSHOT_DIR) +
                                  "/notification_peek.png'").c_str()) == 0;
      // Another window takes the front and the keyboard; the click on the notification brings
      // Larkspin back.
      const std::string cover = FirstLineOf(
          "display -title cover -geometry 1280x1024+0+0 -size 1280x1024 xc:gray >/dev/null 2>&1 & echo $!");
      std::system("timeout 5 xdotool search --sync --onlyvisible --name '^cover$' windowfocus --sync >/dev/null 2>&1");
      focus_before_click = FocusedWindowName();
      std::system("dunstctl action 0");
      raised = WaitForLine("timeout 5 xdotool getwindowfocus getwindowname 2>/dev/null",
                           FormatText("(%d) Larkspin-Demo", messages), std::chrono::seconds(10));
      std::system(("kill " + cover + " >/dev/null 2>&1").c_str());
    }
    RunOnUiThread([&] { window.EndDialog(kIdCancel); });
  });
  window.DoModal();
  user.join();

  EXPECT_TRUE(notified);
  EXPECT_TRUE(photographed);
  EXPECT_EQ(focus_before_click, "cover");
  EXPECT_TRUE(raised);
}

}  // namespace
}  // namespace larkspin

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return larkspin::RunWithWxBackend(argc, argv, [] { return RUN_ALL_TESTS(); });
}
