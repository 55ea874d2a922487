// The real main window under Xvfb against a private Dovecot: it peeks a dozen messages at start,
// one row is marked for deletion, Disconnect is confirmed in the real message box, and a second
// login finds one message fewer. A screenshot of the window with its rows is written to the build
// folder (main_window_peek.png). With Charsets=Modern the demo's messages of today's kind show
// their UTF-8 subjects (main_window_modern_peek.png).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "common/format.h"
#include "common/scramble.h"
#include "main_window/dlg_main.h"
#include "pop3/pop3_client.h"
#include "res/resources.h"
#include "support/dovecot_server.h"
#include "support/temp_folder.h"
#include "ui/backend.h"
#include "ui/wx/wx_backend.h"

namespace larkspin {
namespace {

using testing::DovecotServer;
using testing::ScopedWorkingDirectory;
using testing::TempFolder;
using testing::WriteFile;

constexpr int kMessages = 12;

class CSilentSound : public CSoundOutput {
 public:
  void PlayWaveFile(const std::string&) override {}
  void Tone(int, int) override {}
};

std::string Message(int i) {
  return FormatText("From: Sender %d <sender%d@example.org>\r\nTo: anna@example.org\r\nSubject: Message number %d\r\n"
                    "Date: Mon, %d Mar 2026 10:00:00 +0100\r\nMessage-ID: <%d@example.org>\r\n\r\nBody %d.\r\n",
                    i, i, i, i, i, i);
}

// Waits on the test's own thread until check, run on the UI thread, holds.
bool WaitOnUi(const std::function<bool()>& check, std::chrono::seconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    bool done = false;
    RunOnUiThread([&] { done = check(); });
    if (done) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

// A picture of the window as the X server shows it, once the toolkit has drawn the changes.
bool Photograph(CDialog& window, const std::string& png_path) {
  Rect rect;
  RunOnUiThread([&] { rect = window.WindowRect(); });
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const std::string command = FormatText("import -window root -crop %dx%d+%d+%d +repage '%s'", rect.Width(),
                                         rect.Height(), rect.left, rect.top, png_path.c_str());
  return std::system(command.c_str()) == 0;
}

// Presses Return in the message box (caption "Larkspin"), whose default button is Yes, until
// answered() holds; a key sent before the box could take it is sent again.
bool ConfirmMessageBox(const std::function<bool()>& answered) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    std::system("timeout 5 xdotool search --sync --name '^Larkspin$' windowfocus --sync key Return >/dev/null 2>&1");
    if (WaitOnUi(answered, std::chrono::seconds(2))) return true;
  }
  return false;
}

int MessagesOnServer(int port) {
  CPop3Client client;
  int count = -1;
  int size = 0;
  if (client.Connect("127.0.0.1", "anna", "secret", port) && client.Statistics(count, size)) client.Disconnect();
  return count;
}

class MainWindowWxTest : public ::testing::Test {
 protected:
  MainWindowWxTest() {
    server_.AddUser("anna", "secret");
    if (Modern()) {
      for (const char* name : {"14-party-invitation-utf8.eml", "15-cafe-prices-quoted-printable.eml",
                               "16-office-offer-rfc2231-name.eml"})
        server_.AddMessage("anna", testing::ReadFile(std::string(LARKSPIN_DEMO_MESSAGES) + "/" + name));
    } else {
      for (int i = 1; i <= kMessages; ++i) server_.AddMessage("anna", Message(i));
    }
    server_.Start();
    WriteFile(folder_.File("config.ini"),
              FormatText("[System]\r\nAccounts=1\r\nPeekTime=0\r\nCharsets=%s\r\n[Users]\r\nAccount1=Home\r\n"
                         "[Account1]\r\nPOP3Host=127.0.0.1\r\nPOP3Port=%d\r\nPOP3Account=%s\r\nPOP3Password=%s\r\n",
                         Modern() ? "Modern" : "Classic", server_.Port(), Scrambled("anna").c_str(),
                         Scrambled("secret").c_str()));
    WriteFile(folder_.File("language.ini"), "[Buttons]\r\nConnect=&Connect\r\nDelete=D&elete\r\n"
                                            "Disconnect=&Disconnect\r\nClose=Close\r\n[Headers]\r\nFrom=From\r\n"
                                            "Subject=Subject\r\nDate=Date\r\nAccount=Account\r\nSize=Size\r\n");
    const CProfileStore profile(folder_.File("profile.ini"));
    profile.WriteString("66", "pw", "");
    profile.WriteString("66", "info", LoadResourceString(102));
  }

  // The Modern test peeks the demo's messages of today's kind with Charsets=Modern.
  static bool Modern() {
    return std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()).starts_with("Modern");
  }

  // The window's services: the folder's profile, no sound, a peek as soon as it is shown.
  MainWindowServices Services() {
    MainWindowServices services;
    services.profile = CProfileStore(folder_.File("profile.ini"));
    services.sound = &sound_;
    services.connect_when_shown = true;
    return services;
  }

  TempFolder folder_;
  ScopedWorkingDirectory here_{folder_.Path()};
  DovecotServer server_;
  CSilentSound sound_;
};

TEST_F(MainWindowWxTest, PeekMarkDeleteAndDisconnectOnARealServer) {
  CDlgMain window(Services());

  std::string deleted_subject;
  bool photographed = false;
  bool confirmed = false;
  bool disconnected = false;
  std::thread user([&] {
    if (!WaitOnUi([&] { return !window.PeekRunning() && window.HeaderList().RowCount() == kMessages; },
                  std::chrono::seconds(30)))
      return RunOnUiThread([&] { window.EndDialog(kIdCancel); });
    RunOnUiThread([&] {
      CListModel* list = window.List(kHeaderList);
      list->SetSelected(3, true);
      window.ListChanged(kHeaderList);
      deleted_subject = window.HeaderList().Text(3, kSubjectColumn);
      window.HandleCommand(kDeleteButton);
    });
    photographed = Photograph(window, std::string(LARKSPIN_SCREENSHOT_DIR) + "/main_window_peek.png");
    CWxBackend::WhenIdle([&] { window.HandleCommand(kDisconnectButton); });  // asks in a modal box
    confirmed = ConfirmMessageBox([&] { return window.ItemText(kStatusLine) == "Disconnecting from server...Ok"; });
    disconnected = !window.Connected();
    RunOnUiThread([&] { window.HandleCommand(kCloseButton); });
  });
  window.DoModal();
  user.join();

  EXPECT_TRUE(photographed);
  EXPECT_TRUE(confirmed);
  EXPECT_TRUE(disconnected);
  EXPECT_EQ(deleted_subject.rfind("Message number ", 0), 0u);
  EXPECT_EQ(MessagesOnServer(server_.Port()), kMessages - 1);
}

TEST_F(MainWindowWxTest, ModernCharsetsShowUtf8SubjectsInTheHeaderList) {
  CDlgMain window(Services());

  std::vector<std::string> subjects;
  bool photographed = false;
  std::thread user([&] {
    if (WaitOnUi([&] { return !window.PeekRunning() && window.HeaderList().RowCount() == 3; }, std::chrono::seconds(30))) {
      RunOnUiThread([&] {
        for (int row = 0; row < 3; ++row) subjects.push_back(window.HeaderList().Text(row, kSubjectColumn));
      });
      photographed = Photograph(window, std::string(LARKSPIN_SCREENSHOT_DIR) + "/main_window_modern_peek.png");
    }
    RunOnUiThread([&] { window.HandleCommand(kCloseButton); });
  });
  window.DoModal();
  user.join();

  EXPECT_TRUE(photographed);
  // The list shows the newest first.
  EXPECT_EQ(subjects, (std::vector<std::string>{"Angebot für Ihr Büro in München",
                                                "Kaffeepreise im Café Zähringer – jetzt 4,80 €",
                                                "🎉 Приглашение на вечеринку · パーティーへのご招待"}));
}

}  // namespace
}  // namespace larkspin

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return larkspin::RunWithWxBackend(argc, argv, [] { return RUN_ALL_TESTS(); });
}
