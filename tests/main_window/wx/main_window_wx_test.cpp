// The real main window under Xvfb against a private Dovecot: it peeks a dozen messages at start,
// all of them new mail (NewMailBy=Uidl) and drawn in bold, one row is marked for deletion,
// Disconnect is confirmed in the real message box, and a second login finds one message fewer.
// The keyboard, the menus and the list's pop-up menu are used as a person would, through the X
// server; a toolkit assertion aborts the test (run_under_xvfb.sh).
// A message with a base64 attachment is double-clicked, read in the message view, closed, and
// opened again from the Offline view. Screenshots go to the build folder: main_window_peek.png,
// main_window_menu.png (an open menu), main_window_focus.png (Connect pressed with Alt+C, then
// Ctrl+N opens the compose window) and
// message_view.png. A selected row's first lines show in the preview pane (main_window_preview.png).
// With Charsets=Modern the demo's messages of today's kind show their UTF-8
// subjects (main_window_modern_peek.png).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "common/format.h"
#include "common/scramble.h"
#include "main_window/dlg_main.h"
#include "main_window/wx/window_test_helpers.h"
#include "pop3/pop3_client.h"
#include "res/resources.h"
#include "support/dovecot_server.h"
#include "support/temp_folder.h"
#include "ui/backend.h"
#include "ui/wx/wx_backend.h"

namespace larkspin {
namespace {

using test_support::DovecotServer;
using test_support::ScopedWorkingDirectory;
using test_support::CSilentSound;
using test_support::TempFolder;
using test_support::WaitOnUi;
using test_support::WriteFile;

constexpr int kMessages = 12;

std::string Message(int i) {
  return FormatText("From: Sender %d <sender%d@example.org>\r\nTo: anna@example.org\r\nSubject: Message number %d\r\n"
                    "Date: Mon, %d Mar 2026 10:00:00 +0100\r\nMessage-ID: <%d@example.org>\r\n\r\nBody %d.\r\n",
                    i, i, i, i, i, i);
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

// Sends keys (xdotool's names, e.g. "alt+c", "Down Return") to whatever window has the keyboard.
void PressKeys(const std::string& keys) { std::system(("timeout 5 xdotool key --delay 100 " + keys).c_str()); }

// Gives the keyboard to the visible window whose title matches title_pattern; false when none shows.
bool FocusWindow(const std::string& title_pattern) {
  const std::string command =
      "timeout 5 xdotool search --sync --onlyvisible --name '" + title_pattern + "' windowfocus --sync >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

bool WholeScreenShot(const std::string& png_path) {
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  return std::system(("import -window root '" + png_path + "'").c_str()) == 0;
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
              FormatText("[System]\r\nAccounts=1\r\nPeekTime=0\r\nNewMailBy=Uidl\r\n[Users]\r\nAccount1=Home\r\n[Account1]\r\n"
                         "POP3Host=127.0.0.1\r\nPOP3Port=%d\r\nPOP3Account=%s\r\nPOP3Password=%s\r\n",
                         server_.Port(), Scrambled("anna").c_str(), Scrambled("secret").c_str()));
    WriteFile(folder_.File("language.ini"), "[Buttons]\r\nConnect=&Connect\r\nDelete=D&elete\r\n"
                                            "Disconnect=&Disconnect\r\nClose=Close\r\nPrintRead=&Print\r\n"
                                            "CloseRead=&Close\r\nOpenAttach=&Open\r\n[Headers]\r\nFrom=From\r\n"
                                            "Subject=Subject\r\nDate=Date\r\nAccount=Account\r\nSize=Size\r\n");
    const CProfileStore profile(folder_.File("profile.ini"));
    profile.WriteString(kMainWindowSection, "pw", "");
    profile.WriteString(kMainWindowSection, "info", LoadResourceString(kStringVersion));
  }

  MainWindowServices Services(bool connect_when_shown) {
    MainWindowServices services;
    services.profile = CProfileStore(folder_.File("profile.ini"));
    services.sound = &sound_;
    services.connect_when_shown = connect_when_shown;
    return services;
  }

  // Waits until the peek at start has listed every message; the window is then connected and busy.
  static bool PeekedAll(CDlgMain& window) {
    return WaitOnUi([&] { return !window.PeekRunning() && window.HeaderList().RowCount() == kMessages; },
                    std::chrono::seconds(30));
  }

  static void Exit(CDlgMain& window) { RunOnUiThread([&] { window.HandleCommand(kCommandExit); }); }

  TempFolder folder_;
  ScopedWorkingDirectory here_{folder_.Path()};
  DovecotServer server_;
  CSilentSound sound_;
};

TEST_F(MainWindowWxTest, PeekMarkDeleteAndDisconnectOnARealServer) {
  CDlgMain window(Services(true));

  std::string deleted_subject;
  bool first_peek_bold = false;
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
      first_peek_bold = window.HeaderList().RowBold(0) && window.HeaderList().RowBold(kMessages - 1);
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

  EXPECT_TRUE(first_peek_bold) << "with NewMailBy=Uidl every message of the first peek is new";
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

// Rules mark and name rows as the peek lists them, in the real list control.
TEST_F(MainWindowWxTest, RulesMarkAndNameRowsInTheSignalsColumn) {
  WriteFile(folder_.File("rules.txt"), "delete \"Sender 4\" from sender4@example.org\n"
                                       "flag   \"Three\"    subject \"number 3\"\n");
  CDlgMain window(Services(true));
  std::vector<std::string> signals;
  std::vector<int> icons;
  bool photographed = false;
  std::thread user([&] {
    if (PeekedAll(window)) {
      RunOnUiThread([&] {
        for (int row = 0; row < kMessages; ++row) {
          signals.push_back(window.HeaderList().Text(row, kSignalsColumn));
          icons.push_back(window.HeaderList().RowIcon(row));
        }
      });
      photographed = Photograph(window, std::string(LARKSPIN_SCREENSHOT_DIR) + "/main_window_screening.png");
    }
    Exit(window);
  });
  window.DoModal();
  user.join();

  EXPECT_TRUE(photographed);
  ASSERT_EQ(signals.size(), static_cast<size_t>(kMessages));
  // Newest first: message 12 at the top, so message n in row 12 - n.
  EXPECT_EQ(signals[kMessages - 4], "Sender 4");
  EXPECT_EQ(icons[kMessages - 4], kIconRowDeleteMark);
  EXPECT_EQ(signals[kMessages - 3], "Three");
  EXPECT_EQ(icons[kMessages - 3], kIconRowOnServer);
  EXPECT_EQ(signals[0], "");
}

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
  CDlgMain window(Services(true));
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
      // The view takes the keyboard while the main window runs: Escape closes it.
      if (FocusWindow("^Message From")) PressKeys("Escape");
      closed = WaitOnUi([&] { return !view.IsWindowVisible(); }, std::chrono::seconds(5));
      if (!closed) RunOnUiThread([&] { view.HandleCommand(kFileViewCloseButton); });
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
  EXPECT_EQ(test_support::ReadFile(folder_.File("mailbox1/attach/floor-plan.txt")), "Kitchen, hall, two rooms.");
}

TEST_F(MainWindowWxTest, EveryMenuAndTheListMenuOpenAndAddSenderAsksForTheEntryWhileBusy) {
  CDlgMain window(Services(true));
  std::atomic<int> menus_closed = 0;
  bool photographed = false;
  bool input_box_shown = false;
  std::thread user([&] {
    if (!PeekedAll(window)) return Exit(window);
    for (size_t position = 0; position < 6; ++position) {
      CWxBackend::WhenIdle([&, position] {
        CWxBackend::OpenMenu(window, position);
        ++menus_closed;
      });
      std::this_thread::sleep_for(std::chrono::milliseconds(400));
      if (position == 2) {  // View, with its Mailbox submenu of check items
        PressKeys("Down Right");
        photographed = WholeScreenShot(std::string(LARKSPIN_SCREENSHOT_DIR) + "/main_window_menu.png");
        PressKeys("Escape");
      }
      PressKeys("Escape");
      WaitOnUi([&] { return menus_closed == static_cast<int>(position) + 1; }, std::chrono::seconds(5));
    }
    RunOnUiThread([&] {
      window.List(kHeaderList)->SetSelected(0, true);
      window.ListChanged(kHeaderList);
    });
    CWxBackend::WhenIdle([&] {
      const Point pointer = window.ClientToScreen({100, 200});
      window.HandleNotify({kHeaderList, NotifyCode::kRightClick, 0, pointer});
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    PressKeys("Down Down Down Down Return");  // the last command, below the separator: Add to Sender
    input_box_shown = FocusWindow("^" + LoadResourceString(kStringAddSenderCaption) + "$");
    PressKeys("Escape");
    Exit(window);
  });
  window.DoModal();
  user.join();

  EXPECT_EQ(menus_closed, 6);
  EXPECT_TRUE(photographed);
  EXPECT_TRUE(input_box_shown);
}

TEST_F(MainWindowWxTest, EscapeWhileBusyWithMarkedRowsLeavesTheWindowOpen) {
  CDlgMain window(Services(true));
  bool open_after_escape = false;
  std::thread user([&] {
    if (!PeekedAll(window)) return Exit(window);
    RunOnUiThread([&] {
      window.List(kHeaderList)->SetSelected(0, true);
      window.ListChanged(kHeaderList);
      window.HandleCommand(kDeleteButton);
    });
    if (FocusWindow("Larkspin-Home")) PressKeys("Escape");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    RunOnUiThread([&] { open_after_escape = window.IsWindowVisible() && window.Busy(); });
    Exit(window);
  });
  window.DoModal();
  user.join();

  EXPECT_TRUE(open_after_escape);
}

// Connect disables itself: the focus goes on to the list, so Ctrl+N still reaches the window.
TEST_F(MainWindowWxTest, AltCPressesConnectAndCtrlNThenOpensTheComposeWindow) {
  CDlgMain window(Services(false));
  bool peeked = false;
  bool photographed = false;
  bool compose_shown = false;
  std::thread user([&] {
    if (FocusWindow("Larkspin-Home")) PressKeys("alt+c");
    peeked = PeekedAll(window);
    if (peeked) photographed = Photograph(window, std::string(LARKSPIN_SCREENSHOT_DIR) + "/main_window_focus.png");
    if (peeked && FocusWindow("Larkspin-Home")) PressKeys("ctrl+n");
    compose_shown = FocusWindow("^Sending Mail thru");
    if (compose_shown) PressKeys("Escape");  // untouched: closes without a question
    Exit(window);
  });
  window.DoModal();
  user.join();

  EXPECT_TRUE(peeked);
  EXPECT_TRUE(photographed);
  EXPECT_TRUE(compose_shown);
}

constexpr const char* kPreviewMessage =
    "From: Anna Berg <anna.berg@example.org>\r\nTo: anna@example.org\r\nSubject: Grundriss\r\n"
    "Date: Fri, 20 Mar 2026 08:00:00 +0100\r\nMessage-ID: <grundriss@example.org>\r\nMIME-Version: 1.0\r\n"
    "Content-Type: multipart/mixed; boundary=\"b2\"\r\n\r\n"
    "--b2\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
    "Gr=C3=BC=C3=9Fe aus M=C3=BCnchen,\r\nder Grundriss f=C3=BCr Donnerstag h=C3=A4ngt an =E2=80=93 bis bald.\r\n"
    "--b2\r\nContent-Type: application/pdf; name=\"grundriss.pdf\"\r\nContent-Transfer-Encoding: base64\r\n"
    "Content-Disposition: attachment; filename=\"grundriss.pdf\"\r\n\r\nJVBERi0xLjQK\r\n--b2--\r\n";

// Selecting an Online row shows its first lines, decoded, and its attachment in the preview pane.
TEST_F(MainWindowWxTest, TheSelectedRowsFirstLinesShowDecodedInThePreviewPane) {
  server_.AddMessage("anna", kPreviewMessage);
  CDlgMain window(Services(true));
  std::string pane;
  bool photographed = false;
  std::thread user([&] {
    if (WaitOnUi([&] { return !window.PeekRunning() && window.HeaderList().RowCount() == kMessages + 1; },
                 std::chrono::seconds(30))) {
      RunOnUiThread([&] {
        for (int row = 0; row <= kMessages; ++row)
          if (window.HeaderList().Text(row, kSubjectColumn) == "Grundriss") window.List(kHeaderList)->SetSelected(row, true);
        window.ListChanged(kHeaderList);
        window.HandleNotify({kHeaderList, NotifyCode::kSelectionChange, 0, {}});
      });
      // Read back with every character it shows.
      WaitOnUi([&] { return !window.ItemText(kPreviewPane).empty(); }, std::chrono::seconds(10));
      RunOnUiThread([&] { pane = window.TypedItemText(kPreviewPane, TextEncoding::kUtf8); });
      photographed = Photograph(window, std::string(LARKSPIN_SCREENSHOT_DIR) + "/main_window_preview.png");
    }
    Exit(window);
  });
  window.DoModal();
  user.join();

  EXPECT_TRUE(photographed);
  EXPECT_NE(pane.find("Grüße aus München,"), std::string::npos) << pane;
  EXPECT_NE(pane.find("der Grundriss für Donnerstag hängt an – bis bald."), std::string::npos) << pane;
  EXPECT_NE(pane.find("[grundriss.pdf, application/pdf]"), std::string::npos) << pane;
}

// The demo's messages of today's kind beside the others, peeked with Charsets=Modern.
class ModernCharsetsWxTest : public MainWindowWxTest {
 protected:
  static constexpr int kRows = kMessages + 3;

  ModernCharsetsWxTest() {
    for (const char* name :
         {"14-party-invitation-utf8.eml", "15-cafe-prices-quoted-printable.eml", "16-office-offer-rfc2231-name.eml"})
      server_.AddMessage("anna", test_support::ReadFile(std::string(LARKSPIN_DEMO_MESSAGES) + "/" + name));
    std::string config = test_support::ReadFile(folder_.File("config.ini"));
    config.insert(config.find("[System]\r\n") + 10, "Charsets=Modern\r\n");
    WriteFile(folder_.File("config.ini"), config);
  }
};

TEST_F(ModernCharsetsWxTest, Utf8SubjectsShowInTheHeaderList) {
  CDlgMain window(Services(true));
  std::vector<std::string> subjects;
  bool photographed = false;
  std::thread user([&] {
    if (WaitOnUi([&] { return !window.PeekRunning() && window.HeaderList().RowCount() == kRows; },
                 std::chrono::seconds(30))) {
      RunOnUiThread([&] {
        for (int row = 0; row < kRows; ++row) subjects.push_back(window.HeaderList().Text(row, kSubjectColumn));
      });
      photographed = Photograph(window, std::string(LARKSPIN_SCREENSHOT_DIR) + "/main_window_modern_peek.png");
    }
    Exit(window);
  });
  window.DoModal();
  user.join();

  EXPECT_TRUE(photographed);
  // The list shows the newest first.
  ASSERT_EQ(subjects.size(), static_cast<size_t>(kRows));
  EXPECT_EQ(std::vector<std::string>(subjects.begin(), subjects.begin() + 3),
            (std::vector<std::string>{"Angebot für Ihr Büro in München", "Kaffeepreise im Café Zähringer – jetzt 4,80 €",
                                      "🎉 Приглашение на вечеринку · パーティーへのご招待"}));
}

}  // namespace
}  // namespace larkspin

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return larkspin::RunWithWxBackend(argc, argv, [] { return RUN_ALL_TESTS(); });
}
