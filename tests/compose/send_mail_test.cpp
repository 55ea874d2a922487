// Sending as the compose window does, against the fake SMTP server, with the sent copy.
#include "compose/send_mail.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "mime/base64.h"
#include "support/fake_smtp_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::FakeSmtpServer;
using test_support::ReadFile;
using test_support::Reply;
using test_support::ScopedWorkingDirectory;
using test_support::TempFolder;
using test_support::WriteFile;

const std::string kFooter =
    "\r\n\r\n\r\n\r\n-.-.-.-.-.-.-.-.-.-.-.-.-.-.-\r\nGet Larkspin - Free at\r\nhttps://larkspin.example.org/";

class SendMailTest : public ::testing::Test {
 protected:
  SendMailTest() : cwd_(folder_.Path()) {
    std::filesystem::create_directories(folder_.File("mailbox2/sent"));
    server_.AcceptMail();
    server_.On("AUTH LOGIN\r", Reply("334 VXNlcm5hbWU6\r\n"));
    server_.On(Base64Codec().Encode("ann") + "\r", Reply("334 UGFzc3dvcmQ6\r\n"));
    server_.On(Base64Codec().Encode("pw") + "\r", Reply("235 ok\r\n"));
    identity_.account_number = 2;
    identity_.smtp_host = "127.0.0.1";
    identity_.smtp_port = server_.Port();
    identity_.full_name = "Ann Lee";
    identity_.mail_address = "ann@example.org";
    identity_.reply_address = "replies@example.org";
    identity_.authentication = "AuthLoginMethod";
    identity_.login = "ann";
    identity_.password = "pw";
    mail_.to = "bob@example.org; carl@example.org";
    mail_.subject = "Hi";
    mail_.text = "Hello\r\n";
  }

  SendOutcome Send() { return SendComposedMail(identity_, mail_, settings_, connection_); }

  std::vector<std::string> SentCopies() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.File("mailbox2/sent")))
      names.push_back(entry.path().string());
    return names;
  }

  TempFolder folder_;
  ScopedWorkingDirectory cwd_;
  FakeSmtpServer server_;
  AccountRecord identity_;
  ComposedMail mail_;
  SendSettings settings_;
  std::unique_ptr<CSMTPConnection> connection_;
};

TEST_F(SendMailTest, SendsTheMailAndKeepsTheSentCopy) {
  WriteFile(folder_.File("one.txt"), "first file");
  WriteFile(folder_.File("two.bin"), std::string("\0\1\2", 3));
  mail_.to = "bob@example.org; carl@example.org";
  mail_.cc = "Dora <dora@example.org>";
  mail_.bcc = "eve@example.org";
  mail_.subject = "\xC4rger";
  mail_.text = "Gr\xFC\xDF" "e\r\n";
  mail_.priority = kPriorityHigh;
  mail_.attachments = "one.txt,two.bin";
  const SendOutcome outcome = Send();
  ASSERT_TRUE(outcome.sent) << outcome.failure_reason;
  EXPECT_TRUE(outcome.log_entries.empty());
  EXPECT_EQ(outcome.subject, "Aerger");
  ASSERT_EQ(outcome.notices.size(), 1u);
  EXPECT_EQ(outcome.notices[0].kind, SendNotice::Kind::kSent);
  EXPECT_EQ(outcome.notices[0].text,
            "Message 'Aerger' successfully sent to 'bob@example.org,carl@example.org' via '127.0.0.1'.");
  ASSERT_NE(connection_, nullptr);
  EXPECT_FALSE(connection_->IsConnected());

  const std::vector<std::string> lines = server_.ReceivedLines();
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 4, lines.end()),
            (std::vector<std::string>{"MAIL FROM:<ann@example.org>", "RCPT TO:<bob@example.org>",
                                      "RCPT TO:<carl@example.org>", "RCPT TO:<Dora<dora@example.org>>",
                                      "RCPT TO:<eve@example.org>", "DATA", ".", "QUIT"}));
  ASSERT_EQ(server_.ReceivedData().size(), 1u);
  const std::string data = server_.ReceivedData()[0];
  EXPECT_TRUE(data.starts_with("From: Ann Lee <ann@example.org>\r\n"
                               "To: bob@example.org <bob@example.org>, carl@example.org <carl@example.org>\r\n"
                               "Cc: Dora<dora@example.org> <Dora<dora@example.org>>\r\n"
                               "Subject: Aerger\r\nX-Mailer: Larkspin, Version 0.97 (5.28.19)\r\n"
                               "MIME-Version: 1.0\r\n"))
      << data;
  EXPECT_NE(data.find("\r\nReply-To: Ann Lee <replies@example.org>\r\nDate: "), std::string::npos);
  EXPECT_NE(data.find("\r\nX-Priority: 1\r\n\r\nThis is a multi-part"), std::string::npos);
  const size_t one = data.find("filename=\"one.txt\"");
  const size_t two = data.find("filename=\"two.bin\"");
  const size_t text = data.find("Content-Type: text/plain");
  ASSERT_NE(one, std::string::npos);
  EXPECT_LT(one, two);
  EXPECT_LT(two, text);
  EXPECT_NE(data.find("\r\n\r\nGruesse\r\n\r\n\r\n\r\n\r\n-.-.-"), std::string::npos);

  ASSERT_EQ(outcome.sent_copy_path.empty(), false);
  EXPECT_EQ(SentCopies(), std::vector<std::string>{outcome.sent_copy_path});
  const std::string name = std::filesystem::path(outcome.sent_copy_path).filename().string();
  ASSERT_EQ(name.size(), std::string("msgDD_MM_YYYY_hh_mm_ss.txt").size());
  std::string stamp = name.substr(3, 19);
  for (char& c : stamp) c = c == '_' ? '.' : c;
  EXPECT_EQ(ReadFile(outcome.sent_copy_path),
            "To: bob@example.org, carl@example.org\r\nCc: Dora<dora@example.org>\r\nBcc: eve@example.org\r\n"
            "Sent: " + stamp + "\r\nSubject: Aerger\r\n\r\nGruesse\r\n" + kFooter +
            "\r\n\r\n<<Attachments: one.txt,two.bin>>\r\n");
}

TEST_F(SendMailTest, AMissingAttachmentRefusesTheWholeSendAndNamesEachMissingFile) {
  WriteFile(folder_.File("here.txt"), "x");
  mail_.attachments = "here.txt, here.txt,gone.pdf";
  const SendOutcome outcome = Send();
  EXPECT_FALSE(outcome.sent);
  const std::string text = "The attached file was not found - Message not sent.\n\n here.txt\ngone.pdf";
  ASSERT_EQ(outcome.notices.size(), 1u);
  EXPECT_EQ(outcome.notices[0].text, text);
  EXPECT_EQ(outcome.failure_reason, text);
  EXPECT_EQ(connection_, nullptr);
  EXPECT_TRUE(server_.ReceivedData().empty());
  EXPECT_TRUE(SentCopies().empty());
}

TEST_F(SendMailTest, ReplyToFallsBackToTheMailAddressAndAFieldWithoutAtIsNoRecipient) {
  identity_.reply_address.clear();
  identity_.authentication = "NoLoginMethod";
  mail_.to = "Just A Name";
  const SendOutcome outcome = Send();
  ASSERT_TRUE(outcome.sent);
  const std::vector<std::string> lines = server_.ReceivedLines();
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.begin() + 3),
            (std::vector<std::string>{"MAIL FROM:<ann@example.org>", "DATA"}));
  EXPECT_NE(server_.ReceivedData().at(0).find("Reply-To: Ann Lee <ann@example.org>\r\n"), std::string::npos);
  EXPECT_NE(ReadFile(outcome.sent_copy_path).find("To: JustAName\r\nCc: \r\nBcc: \r\n"), std::string::npos);
}

TEST_F(SendMailTest, AFailedConnectIsLoggedAndDropsTheConnection) {
  identity_.password = "wrong";
  server_.On(Base64Codec().Encode("wrong") + "\r", Reply("535 5.7.8 Authentication failed\r\n"));
  const SendOutcome outcome = Send();
  EXPECT_FALSE(outcome.sent);
  const std::string expected = "Failed to connect to SMTP server '127.0.0.1'.\n\nReason: 535 5.7.8 Authentication failed";
  EXPECT_EQ(outcome.log_entries, std::vector<std::string>{expected});
  ASSERT_EQ(outcome.notices.size(), 1u);
  EXPECT_EQ(outcome.notices[0].text, expected);
  EXPECT_EQ(connection_, nullptr);
  EXPECT_TRUE(SentCopies().empty());
}

TEST_F(SendMailTest, AFailedTransactionKeepsTheConnectionOpenAndTheNextSendReconnects) {
  server_.On("RCPT TO:<carl@", Reply("550 5.1.1 No such user\r\n"), 1);
  settings_.failure_text = "Sending failed.";
  const SendOutcome failed = Send();
  EXPECT_FALSE(failed.sent);
  EXPECT_EQ(failed.log_entries,
            std::vector<std::string>{"Failed to send the message.\n\nReason: 550 5.1.1 No such user\n\nCode: 550"});
  ASSERT_EQ(failed.notices.size(), 1u);
  EXPECT_EQ(failed.notices[0].text, "Sending failed.\n\nReason: 550 5.1.1 No such user");
  ASSERT_NE(connection_, nullptr);
  EXPECT_TRUE(connection_->IsConnected());
  EXPECT_TRUE(SentCopies().empty());
  const SendOutcome retried = Send();
  EXPECT_TRUE(retried.sent);
  EXPECT_EQ(server_.ConnectionCount(), 2);
}

// Cuts the server's output after each byte of a whole send in turn: the mail counts as sent, and
// its copy is kept, only when the server has acknowledged its data; every other cut fails with
// code 0, not with the code of the last reply that did arrive.
TEST_F(SendMailTest, ACutConnectionFailsTheSendWithCodeZeroAndKeepsNoCopy) {
  ASSERT_TRUE(Send().sent);
  const size_t total = server_.BytesSent();
  const size_t quit_reply = std::string("221 bye\r\n").size();
  std::filesystem::remove_all(folder_.File("mailbox2/sent"));
  for (size_t cut = 0; cut < total; ++cut) {
    std::filesystem::create_directories(folder_.File("mailbox2/sent"));
    server_.CutAfterBytes(cut);
    connection_.reset();
    const SendOutcome outcome = Send();
    const bool acknowledged = cut >= total - quit_reply;
    EXPECT_EQ(outcome.sent, acknowledged) << "cut after " << cut << ": " << outcome.failure_reason;
    EXPECT_EQ(SentCopies().size(), acknowledged ? 1u : 0u) << "cut after " << cut;
    if (outcome.failure_reason.starts_with("Failed to send"))
      EXPECT_TRUE(outcome.failure_reason.ends_with("\n\nCode: 0")) << "cut after " << cut << ": " << outcome.failure_reason;
    std::filesystem::remove_all(folder_.File("mailbox2/sent"));
  }
  server_.CutAfterBytes(SIZE_MAX);
  server_.On(".", test_support::ReplyAndClose(""));
  connection_.reset();
  const SendOutcome unanswered = Send();
  EXPECT_FALSE(unanswered.sent);
  EXPECT_EQ(unanswered.failure_reason,
            "Failed to send the message.\n\nReason: The SMTP server closed the connection.\n\nCode: 0");
  EXPECT_FALSE(connection_->IsConnected());
}

TEST_F(SendMailTest, ASentCopyThatCannotBeWrittenIsReportedBeforeTheSuccess) {
  std::filesystem::remove_all(folder_.File("mailbox2"));
  const SendOutcome outcome = Send();
  EXPECT_TRUE(outcome.sent);
  ASSERT_EQ(outcome.notices.size(), 2u);
  EXPECT_EQ(outcome.notices[0].text, "error writing message to sent folder.");
  EXPECT_EQ(outcome.notices[1].kind, SendNotice::Kind::kSent);
  EXPECT_TRUE(outcome.sent_copy_path.empty());
}

TEST(AuthMethodOfSettingTest, ExactNamesOnly) {
  EXPECT_EQ(AuthMethodOfSetting("AuthLoginMethod"), kAuthLogin);
  EXPECT_EQ(AuthMethodOfSetting("LoginPlainMethod"), kAuthLoginPlain);
  EXPECT_EQ(AuthMethodOfSetting("CramMD5Method"), kAuthCramMd5);
  EXPECT_EQ(AuthMethodOfSetting("cramMD5Method"), kAuthNone);
  EXPECT_EQ(AuthMethodOfSetting("NoLoginMethod"), kAuthNone);
}

}  // namespace
}  // namespace larkspin
