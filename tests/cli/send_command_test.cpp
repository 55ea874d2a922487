// "larkspin send" as a script runs it, against the fake SMTP server.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli_runner.h"
#include "common/format.h"
#include "common/scramble.h"
#include "mime/base64.h"
#include "support/fake_smtp_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::CliRun;
using test_support::FakeSmtpServer;
using test_support::ReadFile;
using test_support::Reply;
using test_support::RunLarkspin;
using test_support::TempFolder;
using test_support::WriteFile;

class SendCommandTest : public ::testing::Test {
 protected:
  SendCommandTest() {
    server_.AcceptMail();
    server_.On("AUTH LOGIN\r", Reply("334 VXNlcm5hbWU6\r\n"));
    server_.On(Base64Codec().Encode("ann") + "\r", Reply("334 UGFzc3dvcmQ6\r\n"));
    server_.On(Base64Codec().Encode("secret") + "\r", Reply("235 ok\r\n"));
    WriteConfig("POP3Account=" + Scrambled("ann") + "\r\nPOP3Password=" + Scrambled("secret") + "\r\n");
  }

  void WriteConfig(const std::string& credentials) {
    WriteFile(folder_.File("config.ini"),
              FormatText("[System]\r\nAccounts=1\r\nTimeOut=5\r\n[Users]\r\nAccount1=Box\r\n[Account1]\r\n"
                         "FullName=Ann Lee\r\nMailAddress=ann@example.org\r\nSMTPHost=127.0.0.1\r\nSMTPPort=%d\r\n"
                         "Authentication=AuthLoginMethod\r\n",
                         server_.Port()) +
                  credentials);
  }

  CliRun Send(const std::vector<std::string>& arguments, const std::string& text = "Hello\n") {
    return RunLarkspin(folder_.Path(), arguments, text);
  }

  TempFolder folder_;
  FakeSmtpServer server_;
};

TEST_F(SendCommandTest, SendsTheTextOnStandardInputAndKeepsTheSentCopy) {
  WriteFile(folder_.File("K\xC3\xA4se.txt"), "cheese");
  const CliRun run = Send({"send", "--account", "1", "--to", "bob@example.org; carl@example.org", "--cc",
                           "dora@example.org", "--bcc", "eve@example.org", "--subject", "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC",
                           "--attach", "K\xC3\xA4se.txt", "--priority", "low"},
                          "Line \xC3\xA4\n.\nend\n");
  ASSERT_EQ(run.exit_status, 0) << run.err;
  EXPECT_EQ(run.out, "Message 'Gruesse \xE2\x82\xAC' successfully sent to 'bob@example.org,carl@example.org' via "
                     "'127.0.0.1'.\n");
  EXPECT_EQ(run.err, "");
  ASSERT_EQ(server_.ReceivedData().size(), 1u);
  const std::string data = server_.ReceivedData()[0];
  EXPECT_NE(data.find("Subject: =?windows-1252?q?Gruesse_=80?=\r\n"), std::string::npos) << data;
  EXPECT_NE(data.find("X-Priority: 5\r\n"), std::string::npos);
  EXPECT_NE(data.find("name=\"=?utf-8?q?K=C3=A4se.txt?=\""), std::string::npos) << data;
  EXPECT_NE(data.find("filename*=UTF-8''K%C3%A4se.txt\r\n"), std::string::npos) << data;
  EXPECT_NE(data.find("\r\n\r\nLine ae\r\n..\r\nend\r\n"), std::string::npos);
  EXPECT_NE(std::find(server_.ReceivedLines().begin(), server_.ReceivedLines().end(), "RCPT TO:<eve@example.org>"),
            server_.ReceivedLines().end());
  const auto sent = std::filesystem::directory_iterator(folder_.File("mailbox1/sent"));
  ASSERT_NE(sent, std::filesystem::directory_iterator());
  const std::string copy = ReadFile(sent->path().string());
  EXPECT_TRUE(copy.starts_with("To: bob@example.org, carl@example.org\r\nCc: dora@example.org\r\n"
                               "Bcc: eve@example.org\r\nSent: "));
  EXPECT_NE(copy.find("Subject: Gruesse \x80\r\n\r\nLine ae\r\n.\r\nend\r\n"), std::string::npos);
  EXPECT_TRUE(copy.ends_with("<<Attachments: K\xC3\xA4se.txt>>\r\n"));
}

TEST_F(SendCommandTest, FailuresGiveOneLineAndANonZeroStatus) {
  server_.On(Base64Codec().Encode("secret") + "\r", Reply("535 5.7.8 Authentication failed\r\n"));
  CliRun run = Send({"send", "--account", "1", "--to", "bob@example.org", "--subject", "x"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.err, "larkspin: Failed to connect to SMTP server '127.0.0.1'. Reason: 535 5.7.8 Authentication "
                     "failed\n");
  EXPECT_NE(ReadFile(folder_.File("larkspin.log")).find("Failed to connect to SMTP server '127.0.0.1'.\n\nReason: 535"),
            std::string::npos);

  run = Send({"send", "--account", "1", "--to", "bob@example.org", "--subject", "x", "--attach",
              "missing.pdf,config.ini,,gone.txt"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.err, "larkspin: The attached file was not found: missing.pdf, (an empty path), gone.txt\n");

  run = Send({"send", "--account", "2", "--to", "bob@example.org", "--subject", "x"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.err, "larkspin: account 2 is not configured\n");

  run = Send({"send", "--account", "1", "--to", "", "--subject", "x"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.err, "larkspin: No recipient has been entered.\n");
  EXPECT_TRUE(server_.ReceivedData().empty());
}

TEST_F(SendCommandTest, AConnectionCutDuringTheDataFailsWithCodeZero) {
  server_.On("DATA", test_support::ReplyAndClose("354 go ahead\r\n"));
  const CliRun run = Send({"send", "--account", "1", "--to", "bob@example.org", "--subject", "x"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_TRUE(run.err.starts_with("larkspin: Failed to send the message. Reason: ")) << run.err;
  EXPECT_TRUE(run.err.ends_with(" Code: 0\n")) << run.err;
  EXPECT_FALSE(std::filesystem::exists(folder_.File("mailbox1/sent")) &&
               !std::filesystem::is_empty(folder_.File("mailbox1/sent")));
}

TEST_F(SendCommandTest, AnAccountWithoutStoredCredentialsIsNotAskedFor) {
  WriteConfig("");
  const CliRun run = Send({"send", "--account", "1", "--to", "bob@example.org", "--subject", "x"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.err, "larkspin: account 1 (Box): no stored login or password\n");
}

TEST_F(SendCommandTest, UsageErrors) {
  for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
           {"send", "--to", "a@b", "--subject", "x"},
           {"send", "--account", "1", "--subject", "x"},
           {"send", "--account", "1", "--to", "a@b"},
           {"send", "--account", "x", "--to", "a@b", "--subject", "x"},
           {"send", "--account", "1", "--to", "a@b", "--subject", "x", "--priority", "urgent"},
           {"send", "--account", "1", "--to", "a@b", "--subject", "x", "--colour", "red"},
           {"send", "--account", "1", "--to", "a@b", "--subject"}}) {
    const CliRun run = Send(arguments);
    EXPECT_EQ(run.exit_status, 2) << arguments.back();
    EXPECT_TRUE(run.err.starts_with("larkspin: usage: larkspin send --account N")) << run.err;
  }
}

}  // namespace
}  // namespace larkspin
