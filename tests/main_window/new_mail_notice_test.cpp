// The desktop notification of new mail: its text, and when the main window shows it.
#include <gmock/gmock.h>

#include "main_window/main_window_fixture.h"
#include "main_window/new_mail_notice.h"
#include "support/fake_pop3_server.h"

namespace larkspin::test_support {
namespace {

using ::testing::HasSubstr;

std::vector<NewMessageLine> Messages(int count) {
  std::vector<NewMessageLine> messages;
  for (int i = 1; i <= count; ++i) messages.push_back({"Sender " + std::to_string(i), "Subject " + std::to_string(i)});
  return messages;
}

TEST(NewMailNoticeText, CountsTheMessagesAndNamesTheFirstThree) {
  const struct {
    int count;
    const char* title;
    const char* text;
  } cases[] = {
      {1, "1 new message", "Sender 1: Subject 1"},
      {3, "3 new messages", "Sender 1: Subject 1\nSender 2: Subject 2\nSender 3: Subject 3"},
      {20, "20 new messages", "Sender 1: Subject 1\nSender 2: Subject 2\nSender 3: Subject 3\nand 17 more"},
  };
  for (const auto& c : cases) {
    const NewMailNotice notice = MakeNewMailNotice(Messages(c.count), NewMailNoticeTexts{});
    EXPECT_EQ(notice.title, c.title);
    EXPECT_EQ(notice.text, c.text);
  }
}

TEST(NewMailNoticeText, KeepsEachLineShortAndOnOneLine) {
  const std::string long_subject = "\xC3\xBC" + std::string(200, 'x');  // begins with a two-byte letter
  const NewMailNotice notice = MakeNewMailNotice({{"Eve\r\nBcc: x", long_subject}, {"No Subject", ""}}, {});
  const std::string first_line = notice.text.substr(0, notice.text.find('\n'));
  EXPECT_EQ(first_line.substr(0, 15), "Eve  Bcc: x: \xC3\xBC");
  EXPECT_EQ(first_line.size(), 13 + kNoticeFieldBytes);
  EXPECT_EQ(first_line.substr(first_line.size() - 3), "...");
  EXPECT_EQ(notice.text.substr(notice.text.find('\n') + 1), "No Subject");
}

class NewMailNotificationTest : public MainWindowTest {
 protected:
  NewMailNotificationTest() {
    messages_ = {MakeMessage("Anna Example <anna@example.org>", "First", "Tue, 2 Mar 2004 10:11:12 +0100"),
                 MakeMessage("Bob <bob@example.org>", "Second", "Wed, 3 Mar 2004 09:00:00 +0100")};
    server_.ServeMailbox(messages_);
  }
  void OpenHome(const std::string& system_lines) {
    WriteConfig(system_lines, {"Home"}, AccountSection(1, server_.Port()));
    ASSERT_TRUE(Open());
  }
  void PeekAndDisconnect() {
    ASSERT_TRUE(PeekByConnect());
    ASSERT_TRUE(Window().Click(kDisconnectButton));
  }

  std::vector<std::string> messages_;
  FakePop3Server server_;
};

TEST_F(NewMailNotificationTest, NamesTheMessagesThatCameSinceTheLastPeek) {
  OpenHome("PeekTime=0\r\n");
  PeekAndDisconnect();
  ASSERT_EQ(backend_.Notifications().size(), 1u);
  EXPECT_EQ(backend_.Notifications()[0].title, "2 new messages");
  EXPECT_EQ(backend_.Notifications()[0].text, "Anna Example: First\nBob: Second");
  EXPECT_EQ(backend_.Notifications()[0].owner, Dialog().Peer());

  PeekAndDisconnect();  // nothing new: neither sound nor notification
  messages_.push_back(MakeMessage("Carl <carl@example.org>", "Third", "Mon, 1 Mar 2004 08:00:00 +0100"));
  server_.ServeMailbox(messages_);
  PeekAndDisconnect();
  ASSERT_EQ(backend_.Notifications().size(), 2u);
  EXPECT_EQ(backend_.Notifications()[1].title, "1 new message");
  EXPECT_EQ(backend_.Notifications()[1].text, "Carl: Third");
  EXPECT_EQ(sound_.tones, 2);
}

TEST_F(NewMailNotificationTest, NotifyOffOrNoServiceLeavesTheSoundAlone) {
  OpenHome("PeekTime=0\r\nNotify=0\r\n");
  PeekAndDisconnect();
  EXPECT_TRUE(backend_.Notifications().empty());
  EXPECT_EQ(sound_.tones, 1);
  Close();

  backend_.SetNotificationServiceRunning(false);
  OpenHome("PeekTime=0\r\n");
  PeekAndDisconnect();
  messages_.push_back(MakeMessage("Carl <carl@example.org>", "Third", "Mon, 1 Mar 2004 08:00:00 +0100"));
  server_.ServeMailbox(messages_);
  PeekAndDisconnect();
  EXPECT_EQ(sound_.tones, 3);
  EXPECT_TRUE(MessageBoxTexts().empty());
  const std::string log = LogText();
  const std::string missing = "No desktop notification service";
  EXPECT_THAT(log, HasSubstr(missing));
  EXPECT_EQ(log.find(missing), log.rfind(missing));  // logged once
}

}  // namespace
}  // namespace larkspin::test_support
