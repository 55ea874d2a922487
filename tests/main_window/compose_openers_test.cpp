// Compose, Reply To and Forward from the main window: what the compose window opens with, and
// the sending account in all-accounts mode.
#include <gmock/gmock.h>

#include "common/format.h"
#include "compose_window/dlg_send.h"
#include "main_window/main_window_fixture.h"
#include "res/resources.h"
#include "support/fake_pop3_server.h"
#include "support/fake_smtp_server.h"

namespace larkspin::test_support {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

std::string SendingAccount(int number, int pop3_port, int smtp_port, const std::string& login = "anna") {
  return AccountSection(number, pop3_port, login) +
         FormatText("SMTPHost=127.0.0.1\r\nSMTPPort=%d\r\nMailAddress=anna%d@example.org\r\n", smtp_port, number);
}

// What the compose window showed when it opened.
struct ComposeLook {
  std::string to;
  std::string subject;
  std::string attachments;
  std::string text;
  int focus = 0;
  int identity = 0;
  int main_account = 0;
};

class ComposeOpenersTest : public MainWindowTest {
 protected:
  ComposeOpenersTest() {
    pop3_.ServeMailbox({MakeMessage("Sender <s@example.org>", "Day 1", "Mon, 1 Mar 2004 10:00:00 +0100"),
                        MakeMessage("Sender <s@example.org>", "", "Tue, 2 Mar 2004 10:00:00 +0100")});
    smtp_.AcceptMail();
  }
  // Presses command and records the compose window it opens, which then is closed.
  ComposeLook OpenCompose(int command, const std::function<void(CHeadlessWindow&)>& act = {}) {
    ComposeLook look;
    backend_.QueueModalScript([&](CHeadlessWindow& window) {
      look = {window.Text(kSendToField), window.Text(kSendSubjectField), window.Text(kSendAttachField),
              window.Text(kSendMessageText), window.FocusedControl(),
              static_cast<CDlgSend&>(window.Dialog()).Identity().account_number, Dialog().Account().account_number};
      if (act) act(window);
    });
    EXPECT_TRUE(Window().Click(command));
    return look;
  }
  int RowOfSubject(const std::string& subject) {
    for (int row = 0; row < RowCount(); ++row)
      if (Cell(row, kSubjectColumn) == subject) return row;
    return -1;
  }

  FakePop3Server pop3_;
  FakeSmtpServer smtp_;
};

TEST_F(ComposeOpenersTest, ReplyAndForwardNeedASelectedRow) {
  WriteConfig("PeekTime=0\r\n", {"Home"}, SendingAccount(1, pop3_.Port(), smtp_.Port()));
  ASSERT_TRUE(Open());
  Window().Click(kReplyToButton);
  Window().Click(kForwardButton);
  EXPECT_EQ(MessageBoxTexts(), (std::vector<std::string>{"Please select a message to reply to.",
                                                         "Please select a message to be forwarded."}));
  EXPECT_TRUE(backend_.ModalRuns().empty());
}

TEST_F(ComposeOpenersTest, ReplyAndForwardStartFromTheSelectedRowAndItsStoredFile) {
  WriteConfig("PeekTime=0\r\n", {"Home"}, SendingAccount(1, pop3_.Port(), smtp_.Port()));
  ASSERT_TRUE(Open());
  ASSERT_TRUE(PeekByConnect());
  const std::string quote = "\r\n--- s@example.org wrote: ---\r\n\r\n";

  SelectRows({RowOfSubject("Day 1")});  // not downloaded
  ComposeLook reply = OpenCompose(kReplyToButton);
  EXPECT_EQ(reply.to, "s@example.org");
  EXPECT_EQ(reply.subject, "RE: Day 1");
  EXPECT_EQ(reply.text, "\r\n\r\n" + quote + "  \r\n");
  EXPECT_EQ(reply.focus, kSendMessageText);
  ComposeLook forward = OpenCompose(kForwardButton);
  EXPECT_EQ(forward.to, "");
  EXPECT_EQ(forward.subject, "FWD: Day 1");
  EXPECT_EQ(forward.text, "");
  EXPECT_EQ(forward.attachments, "");
  EXPECT_EQ(forward.focus, kSendToField);

  ASSERT_TRUE(Window().DoubleClick(kHeaderList));  // downloads it
  ASSERT_FALSE(Dialog().RowRecord(RowOfSubject("Day 1"))->local_file.empty());
  reply = OpenCompose(kReplyToButton);
  EXPECT_THAT(reply.text, HasSubstr(quote + "From: Sender <s@example.org>\r\n"));
  forward = OpenCompose(kForwardButton);
  EXPECT_THAT(forward.text, HasSubstr("Subject: Day 1\r\n"));
  EXPECT_EQ(forward.attachments, "");  // a mail without attachments forwards none, so it can be sent

  SelectRows({RowOfSubject("")});
  ASSERT_TRUE(Window().DoubleClick(kHeaderList));
  reply = OpenCompose(kReplyToButton);
  EXPECT_EQ(reply.subject, "RE: ");
  forward = OpenCompose(kForwardButton);
  EXPECT_EQ(forward.subject, "");
  EXPECT_EQ(forward.text, "\r\n\r\n  \r\n");  // the (missing) signature instead of the message
  EXPECT_EQ(forward.attachments, "");
}

TEST_F(ComposeOpenersTest, AllAccountsReplySendsThroughTheRowsAccountUntilTheWindowCloses) {
  FakePop3Server work_pop3;
  work_pop3.ServeMailbox({MakeMessage("Boss <boss@example.org>", "Plan", "Wed, 3 Mar 2004 10:00:00 +0100")});
  FakeSmtpServer work_smtp;
  work_smtp.AcceptMail();
  WriteConfig("PeekTime=0\r\n", {"Home", "Work"},
              SendingAccount(1, pop3_.Port(), smtp_.Port()) + SendingAccount(2, work_pop3.Port(), work_smtp.Port()));
  Profile().WriteInt(kMainWindowSection, "account", 2);  // "All Accounts"
  ASSERT_TRUE(Open());
  ASSERT_TRUE(PeekByConnect());
  const int own_account = Dialog().Account().account_number;
  SelectRows({RowOfSubject("Plan")});
  const ComposeLook reply = OpenCompose(kReplyToButton, [](CHeadlessWindow& window) {
    window.Type(kSendMessageText, "Agreed.\r\n");
    window.Click(kSendButton);
  });
  EXPECT_EQ(reply.identity, 2);
  EXPECT_EQ(reply.main_account, 2);
  EXPECT_EQ(Dialog().Account().account_number, own_account);
  ASSERT_EQ(work_smtp.ReceivedData().size(), 1u);
  EXPECT_THAT(work_smtp.ReceivedData()[0], HasSubstr("Subject: RE: Plan\r\n"));
  EXPECT_THAT(work_smtp.ReceivedData()[0], HasSubstr("From: Anna Example <anna2@example.org>\r\n"));
  EXPECT_TRUE(smtp_.ReceivedData().empty());

  backend_.QueuePopupChoice(kFirstComposeAccountCommand + 1);
  const ComposeLook compose = OpenCompose(kComposeButton);
  ASSERT_EQ(backend_.PopupMenus().size(), 1u);
  EXPECT_EQ(backend_.PopupMenus()[0].menu.Items().size(), 2u);  // Home and Work, not "All Accounts"
  EXPECT_EQ(compose.identity, 2);
  EXPECT_EQ(compose.subject, "");
}

// The stored list keeps the Message-ID and last reference of a downloaded message; a reply
// to a message not downloaded has neither.
TEST_F(ComposeOpenersTest, AReplyToADownloadedMessageNamesItInInReplyToAndReferences) {
  FakePop3Server pop3;
  std::string threaded = MakeMessage("Sender <s@example.org>", "Thread", "Wed, 3 Mar 2004 10:00:00 +0100");
  threaded.insert(0, "Message-ID: <m2@example.org>\r\nReferences: <m0@example.org>\r\n <m1@example.org>\r\n");
  pop3.ServeMailbox({threaded, MakeMessage("Sender <s@example.org>", "Alone", "Thu, 4 Mar 2004 10:00:00 +0100")});
  WriteConfig("PeekTime=0\r\n", {"Home"}, SendingAccount(1, pop3.Port(), smtp_.Port()));
  ASSERT_TRUE(Open());
  ASSERT_TRUE(PeekByConnect());
  const auto reply_and_send = [&](const std::string& subject) {
    SelectRows({RowOfSubject(subject)});
    OpenCompose(kReplyToButton, [](CHeadlessWindow& window) { window.Click(kSendButton); });
    return smtp_.ReceivedData().empty() ? std::string() : smtp_.ReceivedData().back();
  };
  EXPECT_THAT(reply_and_send("Thread"), Not(HasSubstr("In-Reply-To:")));
  SelectRows({RowOfSubject("Thread")});
  ASSERT_TRUE(Window().DoubleClick(kHeaderList));  // downloads it
  const std::string sent = reply_and_send("Thread");
  EXPECT_THAT(sent, HasSubstr("\r\nIn-Reply-To: <m2@example.org>\r\nReferences: <m1@example.org> <m2@example.org>\r\n"));
}

}  // namespace
}  // namespace larkspin::test_support
