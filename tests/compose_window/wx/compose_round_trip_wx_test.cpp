// The real windows under Xvfb: peek a private Dovecot, open a message (which downloads it), Reply
// To, type a line into the editor as the keyboard does, click Send (to npm smtp-server), confirm
// the success box and click Close; the server has the mail with "RE: " and the quoted text, and
// the Sent view lists the copy. A screenshot of the filled compose window goes to the build folder
// (compose_window_reply.png). Escape in a compose window with a typed address shows the draft
// question, whose default button keeps the draft for the Drafts view.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "common/format.h"
#include "common/scramble.h"
#include "main_window/dlg_main.h"
#include "main_window/wx/window_test_helpers.h"
#include "res/resources.h"
#include "support/dovecot_server.h"
#include "support/npm_smtp_server.h"
#include "support/temp_folder.h"
#include "ui/backend.h"
#include "ui/wx/wx_backend.h"

namespace larkspin {
namespace {

using test_support::DovecotServer;
using test_support::NpmSmtpServer;
using test_support::ReadFile;
using test_support::ScopedWorkingDirectory;
using test_support::CSilentSound;
using test_support::TempFolder;
using test_support::WaitOnUi;
using test_support::WriteFile;

const char* const kComposeWindow = "'^Sending Mail thru'";
const char* const kBox = "'^Larkspin$'";

// Runs xdotool on the newest window whose name matches pattern, waiting for it to appear.
bool OnWindow(const char* pattern, const std::string& actions) {
  const std::string command =
      FormatText("timeout 30 xdotool search --sync --name %s windowfocus --sync %s >/dev/null 2>&1", pattern,
                 actions.c_str());
  return std::system(command.c_str()) == 0;
}

bool WindowGone(const char* pattern) {
  return std::system(FormatText("xdotool search --onlyvisible --name %s >/dev/null 2>&1", pattern).c_str()) != 0;
}

bool Photograph(const char* pattern, const std::string& png_path) {
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const std::string command =
      FormatText("import -window \"$(xdotool search --name %s | tail -1)\" '%s'", pattern, png_path.c_str());
  return std::system(command.c_str()) == 0;
}

class ComposeRoundTripTest : public ::testing::Test {
 protected:
  ComposeRoundTripTest() {
    pop3_.AddUser("anna", "secret");
    pop3_.AddMessage("anna", "From: Bob Stone <bob@example.org>\r\nTo: anna@example.org\r\nSubject: Lunch\r\n"
                             "Date: Mon, 2 Mar 2026 10:00:00 +0100\r\nMessage-ID: <1@example.org>\r\n\r\n"
                             "Shall we meet at noon?\r\n");
    pop3_.Start();
    smtp_.Start();
    WriteFile(folder_.File("config.ini"),
              FormatText("[System]\r\nAccounts=1\r\nPeekTime=0\r\n[Users]\r\nAccount1=Home\r\n[Account1]\r\n"
                         "FullName=Anna Lee\r\nMailAddress=anna@example.org\r\nSMTPHost=127.0.0.1\r\nSMTPPort=%d\r\n"
                         "POP3Host=127.0.0.1\r\nPOP3Port=%d\r\nPOP3Account=%s\r\nPOP3Password=%s\r\n",
                         smtp_.Port(), pop3_.Port(), Scrambled("anna").c_str(), Scrambled("secret").c_str()));
    WriteFile(folder_.File("language.ini"),
              "[Buttons]\r\nSend=&Send\r\nCloseSend=&Close\r\n[Labels]\r\nIdentitySend=Identity:\r\nToSend=To:\r\n"
              "CcSend=cc:\r\nBccSend=bcc:\r\nSubjectSend=Subject:\r\nAttachSend=Attach:\r\n");
    const CProfileStore profile(folder_.File("profile.ini"));
    profile.WriteString(kMainWindowSection, "pw", "");
    profile.WriteString(kMainWindowSection, "info", LoadResourceString(kStringVersion));
  }

  TempFolder folder_;
  ScopedWorkingDirectory here_{folder_.Path()};
  DovecotServer pop3_;
  NpmSmtpServer smtp_{"anna", "secret"};
  CSilentSound sound_;
};

TEST_F(ComposeRoundTripTest, ReplyToAPeekedMessageArrivesAndItsCopyIsListedInTheSentView) {
  CDlgMain window(test_support::PeekAtStartServices(folder_.File("profile.ini"), sound_));

  bool downloaded = false, typed = false, photographed = false, sent = false, confirmed = false, closed = false;
  std::string sent_view_subject;
  std::thread user([&] {
    if (!WaitOnUi([&] { return !window.PeekRunning() && window.HeaderList().RowCount() == 1; },
                  std::chrono::seconds(30)))
      return RunOnUiThread([&] { window.EndDialog(kIdCancel); });
    RunOnUiThread([&] {
      window.List(kHeaderList)->SetSelected(0, true);
      window.ListChanged(kHeaderList);
      window.HandleNotify({kHeaderList, NotifyCode::kDoubleClick});
    });
    downloaded = WaitOnUi([&] { return !window.RowRecord(0)->local_file.empty(); }, std::chrono::seconds(10));
    CWxBackend::WhenIdle([&] { window.HandleCommand(kReplyToButton); });  // modal until closed
    // Keys typed as soon as the window appears land in the editor.
    typed = OnWindow(kComposeWindow, "type --delay 30 'See you at noon.'");
    photographed = Photograph(kComposeWindow, std::string(LARKSPIN_SCREENSHOT_DIR) + "/compose_window_reply.png");
    OnWindow(kComposeWindow, "mousemove --window %1 72 561 click 1");  // the Send button
    sent = smtp_.WaitForMessages(1, 20000);
    for (int attempt = 0; attempt < 20 && !confirmed; ++attempt) {
      OnWindow(kBox, "key Return");
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      confirmed = WindowGone(kBox);
    }
    for (int attempt = 0; attempt < 20 && !closed; ++attempt) {
      OnWindow(kComposeWindow, "mousemove --window %1 694 561 click 1");  // the Close button
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      closed = WindowGone(kComposeWindow);
    }
    RunOnUiThread([&] {
      window.HandleCommand(kCommandSent);
      if (window.HeaderList().RowCount() == 1) sent_view_subject = window.HeaderList().Text(0, kSubjectColumn);
      window.HandleCommand(kCloseButton);
    });
  });
  window.DoModal();
  user.join();

  EXPECT_TRUE(downloaded);
  EXPECT_TRUE(typed);
  EXPECT_TRUE(photographed);
  ASSERT_TRUE(sent);
  EXPECT_TRUE(confirmed);
  EXPECT_TRUE(closed);
  const std::string mail = ReadFile(smtp_.MessageFiles().at(0));
  EXPECT_NE(mail.find("Subject: RE: Lunch\r\n"), std::string::npos) << mail;
  EXPECT_NE(mail.find("See you at noon."), std::string::npos) << mail;
  EXPECT_NE(mail.find("--- bob@example.org wrote: ---"), std::string::npos) << mail;
  EXPECT_NE(mail.find("Shall we meet at noon?"), std::string::npos) << mail;
  EXPECT_EQ(sent_view_subject, "RE: Lunch");
}

TEST_F(ComposeRoundTripTest, EscapeAfterTypingAsksAndReturnKeepsTheDraftForTheDraftsView) {
  CDlgMain window(test_support::PeekAtStartServices(folder_.File("profile.ini"), sound_));

  bool typed = false, asked = false, closed = false;
  int draft_rows = -1;
  std::string draft_to;
  std::thread user([&] {
    if (!WaitOnUi([&] { return !window.PeekRunning(); }, std::chrono::seconds(30)))
      return RunOnUiThread([&] { window.EndDialog(kIdCancel); });
    CWxBackend::WhenIdle([&] { window.HandleCommand(kComposeButton); });  // modal until closed
    typed = OnWindow(kComposeWindow, "sleep 0.5 type --delay 30 'carl@example.org'");
    OnWindow(kComposeWindow, "key Escape");
    asked = OnWindow(kBox, "sleep 0.3 key Return");
    for (int attempt = 0; attempt < 20 && !closed; ++attempt) {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      closed = WindowGone(kComposeWindow);
    }
    RunOnUiThread([&] {
      window.HandleCommand(kCommandDrafts);
      draft_rows = window.HeaderList().RowCount();
      if (draft_rows == 1) draft_to = window.HeaderList().Text(0, kFromColumn);
      window.HandleCommand(kCloseButton);
    });
  });
  window.DoModal();
  user.join();

  EXPECT_TRUE(typed);
  EXPECT_TRUE(asked);
  EXPECT_TRUE(closed);
  EXPECT_EQ(draft_rows, 1);
  EXPECT_EQ(draft_to, "carl@example.org");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.File("mailbox1/drafts")),
                          std::filesystem::directory_iterator()),
            1);
}

}  // namespace
}  // namespace larkspin

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return larkspin::RunWithWxBackend(argc, argv, [] { return RUN_ALL_TESTS(); });
}
