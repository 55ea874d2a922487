// The windows' keys: Enter opens the selected row in every view, Del, Ctrl+N and Ctrl+R run the
// commands the menu names beside them, Ctrl+P prints in the message view and Ctrl+Enter sends in
// the compose window; the focus stays on a usable control when the focused one is disabled or a
// box closes, so Alt+letters keep working.
#include <gmock/gmock.h>

#include <algorithm>

#include "common/format.h"
#include "main_window/main_window_fixture.h"
#include "platform/file_system.h"
#include "res/resources.h"
#include "support/fake_pop3_server.h"
#include "support/fake_smtp_server.h"

namespace larkspin::test_support {
namespace {

class KeysTest : public MainWindowTest {
 protected:
  KeysTest() {
    smtp_.AcceptMail();
    pop3_.ServeMailbox({MakeMessage("Anna <a@example.org>", "Hi", "Tue, 2 Mar 2004 10:11:12 +0100")});
    WriteConfig("PeekTime=0\r\n", {"Home"},
                AccountSection(1, pop3_.Port()) +
                    FormatText("SMTPHost=127.0.0.1\r\nSMTPPort=%d\r\nMailAddress=anna@example.org\r\n", smtp_.Port()));
    WriteFile(folder_.File("language.ini"),
              "[Buttons]\r\nConnect=&Connect\r\nDelete=D&elete\r\nDisconnect=&Disconnect\r\nCompose=C&ompose\r\n");
    MakeFolder(folder_.File("mailbox1"));
    MakeFolder(folder_.File("mailbox1/sent"));
    WriteFile(folder_.File("mailbox1/msg.txt"), "From: Bert <b@example.org>\r\nSubject: Stored\r\n\r\nText");
    WriteFile(folder_.File("mailbox1/sent/copy.txt"), "To: Bert <b@example.org>\r\nSubject: Minutes\r\n\r\nText");
  }
  int ComposeRuns() const {
    const std::vector<int>& runs = backend_.ModalRuns();
    return static_cast<int>(std::count(runs.begin(), runs.end(), kDialogSend));
  }
  bool FocusIsUsable() { return Dialog().IsUsableFocus(Window().FocusedControl()); }

  FakePop3Server pop3_;
  FakeSmtpServer smtp_;
};

TEST_F(KeysTest, EnterOnTheListOpensTheSelectedRowInEveryView) {
  ASSERT_TRUE(Open());
  backend_.QueueModalScript([](CHeadlessWindow& compose) { compose.Type(kSendToField, "c@example.org"); });
  ASSERT_TRUE(Window().Click(kComposeButton));  // Escape and the default Yes save a draft
  const struct {
    int view_command;
    const char* opened_subject;  // nullptr: a draft, opened in the compose window
  } cases[] = {{kCommandOnline, "Hi"}, {kCommandOffline, nullptr}, {kCommandSent, "Minutes"}, {kCommandDrafts, nullptr}};
  for (const auto& c : cases) {
    if (c.view_command == kCommandOnline) ASSERT_TRUE(PeekByConnect());
    else ASSERT_TRUE(Window().ChooseMenuItem(c.view_command));
    ASSERT_GE(RowCount(), 1) << c.view_command;
    SelectRows({0});
    const size_t opened = opened_messages_.size();
    const int composed = ComposeRuns();
    const int connections = pop3_.ConnectionCount();
    EXPECT_TRUE(Window().PressKey(kKeyReturn)) << c.view_command;
    EXPECT_FALSE(Dialog().PeekRunning()) << "Enter opens, it never connects";
    EXPECT_EQ(pop3_.ConnectionCount(), connections);
    if (c.view_command == kCommandDrafts) {
      EXPECT_EQ(ComposeRuns(), composed + 1);
    } else {
      ASSERT_EQ(opened_messages_.size(), opened + 1) << c.view_command;
      if (c.opened_subject) EXPECT_EQ(opened_messages_.back().subject, c.opened_subject);
    }
    if (c.view_command == kCommandOnline) ASSERT_TRUE(Window().Click(kDisconnectButton));
  }
}

TEST_F(KeysTest, KeysRunTheCommandsTheMenuNamesThemBeside) {
  ASSERT_TRUE(Open());
  ASSERT_TRUE(PeekByConnect());
  const struct {
    int key;
    unsigned modifiers;
    int command;
    const char* shortcut;
  } keys[] = {
      {kKeyDelete, kKeyPlain, kDeleteButton, "Del"},
      {'N', kKeyCtrl, kComposeButton, "Ctrl+N"},
      {'R', kKeyCtrl, kReplyToButton, "Ctrl+R"},
  };
  for (const auto& k : keys) {
    const MenuItem* item = Window().Menu().FindCommand(k.command);
    ASSERT_NE(item, nullptr) << k.shortcut;
    EXPECT_EQ(item->shortcut, k.shortcut);
  }
  EXPECT_EQ(Window().Menu().FindCommand(kCommandOpenMessage)->shortcut, "Enter");

  SelectRows({0});
  ASSERT_TRUE(Window().PressKey(kKeyDelete));
  EXPECT_EQ(Icon(0), kIconRowDeleteMark);
  ASSERT_TRUE(Window().PressKey('N', kKeyCtrl));
  EXPECT_EQ(ComposeRuns(), 1);
  std::string reply_subject;
  backend_.QueueModalScript([&](CHeadlessWindow& compose) { reply_subject = compose.Text(kSendSubjectField); });
  ASSERT_TRUE(Window().PressKey('R', kKeyCtrl));
  EXPECT_EQ(reply_subject, "RE: Hi");
  EXPECT_FALSE(Window().PressKey('N', kKeyAlt)) << "no accelerator and no mnemonic";
  // A key does nothing while its command is disabled: All Accounts has no Delete.
  ASSERT_TRUE(Window().Click(kDisconnectButton));
  ASSERT_TRUE(Window().ChooseEntry(kAccountSelector, 1));
  EXPECT_FALSE(Window().PressKey(kKeyDelete));
  EXPECT_FALSE(Window().Menu().FindCommand(kDeleteButton)->enabled);
}

TEST_F(KeysTest, CtrlPPrintsInTheMessageViewAndCtrlEnterSendsInTheComposeWindow) {
  use_message_view_ = true;
  ASSERT_TRUE(Open());
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandOffline));
  SelectRows({0});
  ASSERT_TRUE(Window().PressKey(kKeyReturn));
  CHeadlessWindow* view = backend_.Find(kDialogFileView);
  ASSERT_TRUE(view && view->IsShown());
  CHeadlessPrinter printer({2000, 2000}, 10, 10, 300);
  backend_.QueuePrinter(&printer);
  ASSERT_TRUE(view->PressKey('P', kKeyCtrl));
  EXPECT_FALSE(printer.Pages().empty());

  backend_.QueueModalScript([](CHeadlessWindow& compose) {
    compose.Type(kSendToField, "c@example.org");
    compose.Type(kSendSubjectField, "Keys");
    EXPECT_TRUE(compose.PressKey(kKeyReturn, kKeyCtrl));
  });
  ASSERT_TRUE(Window().PressKey('N', kKeyCtrl));
  EXPECT_EQ(smtp_.ReceivedData().size(), 1u);
}

TEST_F(KeysTest, TheFocusStaysOnAUsableControlSoMnemonicsKeepWorking) {
  ASSERT_TRUE(Open());
  ASSERT_TRUE(Window().Click(kConnectButton));  // Connect disables itself
  EXPECT_TRUE(FocusIsUsable()) << Window().FocusedControl();
  ASSERT_TRUE(WaitForPeek());
  SelectRows({0});
  ASSERT_TRUE(Window().PressKey('E', kKeyAlt));  // Delete marks the row
  EXPECT_EQ(Icon(0), kIconRowDeleteMark);
  // Disconnect asks, then disables itself.
  ASSERT_TRUE(Window().PressKey('D', kKeyAlt));
  EXPECT_EQ(MessageBoxTexts().size(), 1u);
  EXPECT_TRUE(FocusIsUsable()) << Window().FocusedControl();
  EXPECT_TRUE(Window().PressKey('C', kKeyAlt));  // Connect again
  ASSERT_TRUE(WaitForPeek());
}

}  // namespace
}  // namespace larkspin::test_support
