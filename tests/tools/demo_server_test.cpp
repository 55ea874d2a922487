// The demo mail server's POP3 service, spoken to by the program's own POP3 client (and by plain
// lines where the client cannot go).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/socket.h>

#include <memory>

#include "common/format.h"
#include "demo_server/pop3_service.h"
#include "demo_server/pop3_session.h"
#include "platform/socket.h"
#include "pop3/pop3_client.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using demo::CDemoMailbox;
using demo::CPop3Service;
using test_support::ReadFile;
using test_support::TempFolder;
using test_support::WriteFile;

const std::string kGreeting =
    "From: Anna Berg <anna@example.org>\r\nSubject: Hello\r\n\r\nFirst line\r\nSecond line\r\nThird line\r\n";
// Lines that begin with "." and a line holding only "."; written with bare LF line ends.
const std::string kDotfiles = "From: tomasz@example.org\nSubject: Dotfiles\n\n.bashrc\n.\n..\nend\n";
const std::string kDotfilesWithCrlf =
    "From: tomasz@example.org\r\nSubject: Dotfiles\r\n\r\n.bashrc\r\n.\r\n..\r\nend\r\n";
const std::string kDotfilesOnTheWire =
    "From: tomasz@example.org\r\nSubject: Dotfiles\r\n\r\n..bashrc\r\n..\r\n...\r\nend\r\n";
const std::string kReminder = "From: facility@example.com\r\nSubject: Maintenance\r\n\r\nTuesday.\r\n";

class DemoServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(folder.File("01-greeting.eml"), kGreeting);
    WriteFile(folder.File("02-dotfiles.eml"), kDotfiles);
    WriteFile(folder.File("03-reminder.eml"), kReminder);
    WriteFile(folder.File(".hidden"), "not a message");
    StartServer();
  }

  // A fresh mailbox and service over the same folder, as after a restart of the program.
  void StartServer() {
    service.reset();
    mailbox = std::make_unique<CDemoMailbox>();
    std::string error;
    ASSERT_TRUE(mailbox->Load(folder.Path(), error)) << error;
    service = std::make_unique<CPop3Service>(*mailbox);
    ASSERT_TRUE(service->Start(0, error)) << error;
  }

  bool LogIn(CPop3Client& client) { return client.Connect("127.0.0.1", "anyone", "any password", service->Port()); }

  // Sends the lines in one go, closes the sending side without QUIT, and returns every reply.
  std::string ConverseWithoutQuit(const std::string& lines) {
    int socket = CreateStreamSocket();
    std::string error;
    std::string replies;
    if (ConnectStreamSocket(socket, "127.0.0.1", service->Port(), error) &&
        SendAll(socket, lines.data(), lines.size())) {
      ::shutdown(socket, SHUT_WR);
      char chunk[4096];
      while (WaitForReadable(socket, 5000) == WaitResult::kReadable) {
        const ssize_t received = ReceiveSome(socket, chunk, sizeof chunk);
        if (received <= 0) break;
        replies.append(chunk, static_cast<size_t>(received));
      }
    }
    CloseSocket(socket);
    return replies;
  }

  int MessageCount() {
    CPop3Client client;
    int count = -1;
    int size = 0;
    if (!LogIn(client) || !client.Statistics(count, size)) ADD_FAILURE() << client.LastReply();
    return count;
  }

  TempFolder folder;
  std::unique_ptr<CDemoMailbox> mailbox;
  std::unique_ptr<CPop3Service> service;
};

TEST_F(DemoServerTest, ServesTheFolderWithCrlfLineEndsAndDotStuffing) {
  CPop3Client client;
  ASSERT_TRUE(LogIn(client)) << client.LastReply();
  int count = 0;
  int size = 0;
  ASSERT_TRUE(client.Statistics(count, size));
  EXPECT_EQ(count, 3);
  EXPECT_EQ(size, static_cast<int>(kGreeting.size() + kDotfilesWithCrlf.size() + kReminder.size()));

  uint32_t dotfiles_size = 0;
  ASSERT_TRUE(client.GetMessageSize(2, dotfiles_size));
  EXPECT_EQ(dotfiles_size, kDotfilesWithCrlf.size());  // the stuffing dots are not counted

  CPop3Text header;
  ASSERT_TRUE(client.GetMessageHeader(1, header)) << client.LastReply();
  EXPECT_EQ(header.Text(), "From: Anna Berg <anna@example.org>\r\nSubject: Hello\r\n");

  // Without stuffing, the line holding only "." would end the reply early; the client takes the
  // stuffing dots off again.
  CPop3Text dotfiles;
  ASSERT_TRUE(client.Retrieve(2, dotfiles)) << client.LastReply();
  EXPECT_EQ(dotfiles.Text() + "\r\n", kDotfilesWithCrlf);
  EXPECT_TRUE(client.Disconnect());
  EXPECT_THAT(ConverseWithoutQuit("USER robin\r\nPASS x\r\nRETR 2\r\n"), ::testing::HasSubstr(kDotfilesOnTheWire));
}

TEST_F(DemoServerTest, DeletionLastsUntilRestartAndNeverTouchesTheFiles) {
  {
    CPop3Client client;
    ASSERT_TRUE(LogIn(client)) << client.LastReply();
    ASSERT_TRUE(client.Delete(1));
    EXPECT_FALSE(client.Delete(1)) << "a message can be deleted only once";
    ASSERT_TRUE(client.Disconnect());
  }
  EXPECT_EQ(MessageCount(), 2);
  {
    CPop3Client client;
    ASSERT_TRUE(LogIn(client));
    CPop3Text first;
    ASSERT_TRUE(client.Retrieve(1, first));
    EXPECT_THAT(first.Text(), ::testing::HasSubstr("Subject: Dotfiles"));
  }
  EXPECT_EQ(ReadFile(folder.File("01-greeting.eml")), kGreeting);

  StartServer();
  EXPECT_EQ(MessageCount(), 3);
}

TEST_F(DemoServerTest, RsetUndoesDeletionsAndALostConnectionDeletesNothing) {
  const std::string replies =
      ConverseWithoutQuit("USER robin\r\nPASS x\r\nDELE 1\r\nRSET\r\nDELE 2\r\nDELE 2\r\nLIST 3\r\nRETR 9\r\n");
  EXPECT_THAT(replies, ::testing::HasSubstr("+OK message 1 deleted\r\n+OK maildrop has 3 messages"));
  EXPECT_THAT(replies, ::testing::HasSubstr("+OK message 2 deleted\r\n-ERR message 2 is already deleted\r\n"));
  EXPECT_THAT(replies, ::testing::HasSubstr(FormatText("+OK 3 %zu\r\n-ERR no message 9", kReminder.size())));
  EXPECT_EQ(MessageCount(), 3);
}

TEST(DemoServerTopTest, SendsTheHeaderTheEmptyLineAndTheRequestedBodyLines) {
  EXPECT_EQ(demo::TopOfMessage(kGreeting, 0), "From: Anna Berg <anna@example.org>\r\nSubject: Hello\r\n\r\n");
  EXPECT_EQ(demo::TopOfMessage(kGreeting, 2),
            "From: Anna Berg <anna@example.org>\r\nSubject: Hello\r\n\r\nFirst line\r\nSecond line\r\n");
  EXPECT_EQ(demo::TopOfMessage(kGreeting, 99), kGreeting);
  // A message without a body still gets its empty line.
  EXPECT_EQ(demo::TopOfMessage("Subject: only\r\n", 0), "Subject: only\r\n\r\n");
}

}  // namespace
}  // namespace larkspin
