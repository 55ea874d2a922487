// The real main window under Xvfb against a private Dovecot: it peeks a dozen messages at start,
// one row is marked for deletion, Disconnect is confirmed in the real message box, and a second
// login finds one message fewer. A screenshot of the window with its rows is written to the build
// folder (main_window_peek.png). A message with a base64 attachment is double-clicked, read in the
// message view (message_view.png), closed, and opened again from the Offline view.
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
    for (int i = 1; i <= kMessages; ++i) server_.AddMessage("anna", Message(i));
    server_.Start();
    WriteFile(folder_.File("config.ini"),
              FormatText("[System]\r\nAccounts=1\r\nPeekTime=0\r\n[Users]\r\nAccount1=Home\r\n[Account1]\r\n"
                         "POP3Host=127.0.0.1\r\nPOP3Port=%d\r\nPOP3Account=%s\r\nPOP3Password=%s\r\n",
                         server_.Port(), Scrambled("anna").c_str(), Scrambled("secret").c_str()));
    WriteFile(folder_.File("language.ini"), "[Buttons]\r\nConnect=&Connect\r\nDelete=D&elete\r\n"
                                            "Disconnect=&Disconnect\r\nClose=Close\r\nPrintRead=&Print\r\n"
                                            "CloseRead=&Close\r\nOpenAttach=&Open\r\n[Headers]\r\nFrom=From\r\n"
                                            "Subject=Subject\r\nDate=Date\r\nAccount=Account\r\nSize=Size\r\n");
    const CProfileStore profile(folder_.File("profile.ini"));
    profile.WriteString("66", "pw", "");
    profile.WriteString("66", "info", LoadResourceString(102));
  }

  // The window's services: this folder's profile, no sound, a peek as soon as it is shown.
  MainWindowServices PeekAtStart() {
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
  CDlgMain window(PeekAtStart());

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

constexpr const char* kAttachmentMessage =
    "From: Anna Berg <anna.berg@example.org>\r\nTo: anna@example.org\r\nSubject: Floor plan\r\n"
    "Date: Tue, 3 Mar 2026 09:15:00 +0100\r\nMessage-ID: <plan@example.org>\r\nMIME-Version: 1.0\r\n"
    "Content-Type: multipart/mixed; boundary=\"b1\"\r\n\r\n"
    "--b1\r\nContent-Type: text/plain; charset=us-ascii\r\n\r\nHere is the floor plan for Thursday.\r\n"
    "--b1\r\nContent-Type: text/plain; name=\"floor-plan.txt\"\r\nContent-Transfer-Encoding: base64\r\n"
    "Content-Disposition: attachment; filename=\"floor-plan.txt\"\r\n\r\nS2l0Y2hlbiwgaGFsbCwgdHdvIHJvb21zLg==\r\n"
    "--b1--\r\n";

class MessageViewWxTest : public MainWindowWxTest {
 protected:
  MessageViewWxTest() { server_.AddMessage("anna", kAttachmentMessage); }

  // Double-clicks the only row and waits until the view shows text.
  static bool OpenOnlyRow(CDlgMain& window) {
    RunOnUiThread([&] {
      window.List(kHeaderList)->SetSelected(0, true);
      window.ListChanged(kHeaderList);
      window.HandleNotify({kHeaderList, NotifyCode::kDoubleClick});
    });
    return WaitOnUi([&] { return window.MessageView().IsWindowVisible(); }, std::chrono::seconds(10));
  }
};

TEST_F(MessageViewWxTest, ADownloadedMessageIsReadClosedAndReadAgainFromTheOfflineView) {
  CDlgMain window(PeekAtStart());
  CDlgFileView& view = window.MessageView();

  std::string online_text, offline_text, attachments, caption;
  bool photographed = false;
  bool closed = false;
  std::thread user([&] {
    const int rows = kMessages + 1;
    if (!WaitOnUi([&] { return !window.PeekRunning() && window.HeaderList().RowCount() == rows; },
                  std::chrono::seconds(30)))
      return RunOnUiThread([&] { window.EndDialog(kIdCancel); });
    RunOnUiThread([&] {
      for (int row = 0; row < rows; ++row)
        if (window.HeaderList().Text(row, kSubjectColumn) == "Floor plan") window.List(kHeaderList)->SetSelected(row, true);
      window.ListChanged(kHeaderList);
      window.HandleNotify({kHeaderList, NotifyCode::kDoubleClick});
    });
    if (WaitOnUi([&] { return view.IsWindowVisible(); }, std::chrono::seconds(10))) {
      RunOnUiThread([&] {
        online_text = view.ItemText(kFileViewText);
        caption = view.WindowText();
        for (int i = 0; i < view.ComboCount(kFileViewAttachmentSelector); ++i)
          attachments += view.ComboEntry(kFileViewAttachmentSelector, i) + ";";
      });
      photographed = Photograph(view, std::string(LARKSPIN_SCREENSHOT_DIR) + "/message_view.png");
      RunOnUiThread([&] { view.HandleCommand(kFileViewCloseButton); });
      closed = WaitOnUi([&] { return !view.IsWindowVisible(); }, std::chrono::seconds(5));
    }
    RunOnUiThread([&] { window.HandleCommand(kCommandOffline); });
    if (WaitOnUi([&] { return window.HeaderList().RowCount() == 1; }, std::chrono::seconds(10)) && OpenOnlyRow(window))
      RunOnUiThread([&] { offline_text = view.ItemText(kFileViewText); });
    RunOnUiThread([&] {
      view.HandleCommand(kFileViewCloseButton);
      window.HandleCommand(kCloseButton);
    });
  });
  window.DoModal();
  user.join();

  EXPECT_NE(online_text.find("Here is the floor plan for Thursday."), std::string::npos) << online_text;
  EXPECT_EQ(attachments, "floor-plan.txt;");
  EXPECT_EQ(caption, "Message From:Anna Berg (Floor plan)");
  EXPECT_TRUE(photographed);
  EXPECT_TRUE(closed);
  EXPECT_EQ(offline_text, online_text);
  EXPECT_EQ(testing::ReadFile(folder_.File("mailbox1/attach/floor-plan.txt")), "Kitchen, hall, two rooms.");
}

}  // namespace
}  // namespace larkspin

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return larkspin::RunWithWxBackend(argc, argv, [] { return RUN_ALL_TESTS(); });
}
