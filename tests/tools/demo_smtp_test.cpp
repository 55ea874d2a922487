// The demo mail server's SMTP service, spoken to by the program's own SMTP client and, for what
// that client never sends, line by line.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "demo_server/smtp_service.h"
#include "mime/base64.h"
#include "platform/socket.h"
#include "smtp/smtp_connection.h"
#include "smtp/smtp_mail.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using demo::CSmtpService;
using demo::DemoCredentials;
using test_support::ReadFile;
using test_support::TempFolder;
using test_support::WriteFile;

class DemoSmtpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(service_.Start(0, error)) << error;
  }

  bool Send(int method, const std::string& password, CSMTPConnection& connection, const std::string& text = "Hi") {
    if (!connection.Connect("127.0.0.1", method, "demo", password, service_.Port())) return false;
    CSMTPMail mail;
    mail.SetFrom(CSMTPRecipient("Robin", "robin@larkspin.example"));
    mail.AddRecipient(CSMTPRecipient("", "anna@example.org"), kRecipientTo);
    mail.AddRecipient(CSMTPRecipient("", "hidden@example.org"), kRecipientBcc);
    mail.SetSubject("method " + std::to_string(method));
    mail.SetText(text);
    return connection.SendMessage(mail) && connection.Disconnect(true);
  }

  // Sends each line and collects the reply to it (complete multi-line replies).
  std::vector<std::string> Converse(const std::vector<std::string>& lines) {
    int socket = CreateStreamSocket();
    std::string error;
    EXPECT_TRUE(ConnectStreamSocket(socket, "127.0.0.1", service_.Port(), error)) << error;
    std::vector<std::string> replies{ReadReply(socket)};
    for (const std::string& line : lines) {
      const std::string sent = line + "\r\n";
      SendAll(socket, sent.data(), sent.size());
      replies.push_back(ReadReply(socket));
    }
    CloseSocket(socket);
    return replies;
  }

  // A reply is complete when its last line has a blank after its code.
  static bool IsComplete(const std::string& reply) {
    if (reply.size() < 6 || !reply.ends_with("\r\n")) return false;
    const size_t previous_end = reply.rfind("\r\n", reply.size() - 3);
    const size_t last_line = previous_end == std::string::npos ? 0 : previous_end + 2;
    return reply.size() - last_line >= 6 && reply[last_line + 3] == ' ';
  }

  static std::string ReadReply(int socket) {
    std::string reply;
    char chunk[512];
    while (!IsComplete(reply) && WaitForReadable(socket, 2000) == WaitResult::kReadable) {
      const ssize_t received = ReceiveSome(socket, chunk, sizeof chunk);
      if (received <= 0) break;
      reply.append(chunk, static_cast<size_t>(received));
    }
    return reply;
  }

  TempFolder folder_;
  CSmtpService service_{DemoCredentials{"demo", "demo"}, folder_.File("received")};
};

TEST_F(DemoSmtpTest, EveryMethodOfTheClientIsAcceptedAndTheMailKept) {
  for (const int method : {kAuthNone, kAuthCramMd5, kAuthLogin, kAuthLoginPlain}) {
    CSMTPConnection connection;
    EXPECT_TRUE(Send(method, "demo", connection)) << method << ": " << connection.LastReplyText();
  }
  for (int n = 1; n <= 4; ++n) {
    const std::string kept = ReadFile(folder_.File("received/" + std::to_string(n) + ".eml"));
    EXPECT_TRUE(kept.starts_with("From: Robin <robin@larkspin.example>\r\n")) << kept;
    EXPECT_NE(kept.find("Subject: method " + std::to_string(n - 1)), std::string::npos);
  }
}

TEST_F(DemoSmtpTest, AWrongPasswordIsRefused) {
  for (const int method : {kAuthCramMd5, kAuthLogin, kAuthLoginPlain}) {
    CSMTPConnection connection;
    EXPECT_FALSE(Send(method, "wrong", connection)) << method;
    EXPECT_EQ(connection.LastReplyCode(), 535) << method;
  }
  EXPECT_FALSE(std::filesystem::exists(folder_.File("received/1.eml")));
}

TEST_F(DemoSmtpTest, DataIsDotUnstuffedAndNumberedOnFromEarlierFiles) {
  service_.Stop();
  WriteFile(folder_.File("received/7.eml"), "earlier");
  CSmtpService restarted(DemoCredentials{"demo", "demo"}, folder_.File("received"));
  std::string error;
  ASSERT_TRUE(restarted.Start(0, error)) << error;
  CSMTPConnection connection;
  ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthNone, "", "", restarted.Port()));
  CSMTPMail mail;
  mail.SetFrom(CSMTPRecipient("", "robin@larkspin.example"));
  mail.AddRecipient(CSMTPRecipient("", "anna@example.org"), kRecipientTo);
  mail.SetText(".profile\r\n.\r\n..two\r\nend");
  ASSERT_TRUE(connection.SendMessage(mail));
  EXPECT_EQ(connection.LastReplyText(), "250 2.0.0 OK: kept as 8.eml");
  const std::string kept = ReadFile(folder_.File("received/8.eml"));
  EXPECT_TRUE(kept.ends_with("\r\n\r\n.profile\r\n.\r\n..two\r\nend\r\n")) << kept;
}

TEST_F(DemoSmtpTest, AuthPlainAndTheOrderOfCommands) {
  const std::string plain = Base64Codec().Encode(std::string("\0demo\0demo", 10));
  const std::vector<std::string> replies =
      Converse({"MAIL FROM:<a@b>", "EHLO client", "RCPT TO:<c@d>", "MAIL FROM:<a@b>", "DATA", "AUTH PLAIN",
                plain, "AUTH PLAIN " + plain, "RSET", "NOOP", "FOO", "QUIT"});
  ASSERT_EQ(replies.size(), 13u);
  EXPECT_TRUE(replies[0].starts_with("220 "));
  EXPECT_TRUE(replies[1].starts_with("503 "));  // MAIL before EHLO
  EXPECT_NE(replies[2].find("250-AUTH LOGIN PLAIN CRAM-MD5\r\n"), std::string::npos);
  EXPECT_TRUE(replies[3].starts_with("503 "));  // RCPT before MAIL
  EXPECT_TRUE(replies[4].starts_with("250 "));
  EXPECT_TRUE(replies[5].starts_with("554 "));  // DATA without recipients
  EXPECT_TRUE(replies[6].starts_with("503 "));  // AUTH inside a transaction
  EXPECT_TRUE(replies[7].starts_with("500 "));
  EXPECT_TRUE(replies[8].starts_with("503 "));  // still inside the transaction
  EXPECT_TRUE(replies[9].starts_with("250 "));  // RSET
  EXPECT_TRUE(replies[10].starts_with("250 "));
  EXPECT_TRUE(replies[11].starts_with("500 "));
  EXPECT_TRUE(replies[12].starts_with("221 "));
  const std::vector<std::string> plain_replies = Converse({"HELO c", "AUTH PLAIN", plain, "AUTH PLAIN " + plain});
  EXPECT_TRUE(plain_replies[2].starts_with("334 "));
  EXPECT_TRUE(plain_replies[3].starts_with("235 "));
  EXPECT_TRUE(plain_replies[4].starts_with("503 "));  // already authenticated
}

}  // namespace
}  // namespace larkspin
