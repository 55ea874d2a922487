#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_runner.h"
#include "support/fake_pop3_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::CliRun;
using test_support::ConfigFor;
using test_support::FakePop3Server;
using test_support::ReadFile;
using test_support::RunLarkspin;
using test_support::TempFolder;
using test_support::WriteFile;
using ::testing::HasSubstr;

const std::string kPlain =
    "From: Anna <anna@example.org>\r\nTo: ben@example.org\r\nSubject: Hello\r\nDate: Tue, 2 Mar 2004 10:11:12 +0100\r\n"
    "\r\nGr=FC=DFe\r\n";
const std::string kWithAttachment =
    "From: Anna <anna@example.org>\r\nTo: ben@example.org\r\nSubject: File\r\nDate: Wed, 3 Mar 2004 09:00:00 +0100\r\n"
    "Content-Type: multipart/mixed; boundary=\"B\"\r\n\r\n--B\r\nContent-Type: text/plain\r\n\r\nSee the file.\r\n"
    "--B\r\nContent-Type: text/plain; name=\"note.txt\"\r\nContent-Transfer-Encoding: base64\r\n\r\n"
    "bm90ZQ==\r\n--B--\r\n";

class DownloadCommandTest : public ::testing::Test {
 protected:
  DownloadCommandTest() {
    server.ServeMailbox({kPlain, kWithAttachment});
    WriteFile(folder.File("config.ini"), ConfigFor({server.Port()}));
  }

  FakePop3Server server;
  TempFolder folder;
};

TEST_F(DownloadCommandTest, StoresTheMessagesAndPrintsEachResult) {
  const CliRun run = RunLarkspin(folder.Path(), {"download", "--account", "1", "2", "1"});
  EXPECT_EQ(run.exit_status, 0) << run.err;
  EXPECT_EQ(run.out,
            "2\t1\tmailbox1/msg03_03_2004_09_00_00_+0100.txt\tnote.txt\n"
            "1\t0\tmailbox1/msg02_03_2004_10_11_12_+0100.txt\t\n");
  EXPECT_EQ(ReadFile(folder.File("mailbox1/msg02_03_2004_10_11_12_+0100.txt")),
            "From: Anna <anna@example.org>\r\nTo: ben@example.org\r\nSent: Tue, 2 Mar 2004 10:11:12 +0100\r\n"
            "Subject: Hello\r\nPriority: \r\n\r\nGr\xFC\xDF"
            "e");
  EXPECT_EQ(ReadFile(folder.File("mailbox1/attach/note.txt")), "note");
  EXPECT_THAT(ReadFile(folder.File("mailbox1/msg03_03_2004_09_00_00_+0100.txt")),
              HasSubstr("See the file.\r\n--\r\r\n<<Attachments: note.txt,>>"));
  EXPECT_THAT(ReadFile(folder.File("larkspin.log")), HasSubstr(" \tCreating file 'note.txt'\n"));
}

TEST_F(DownloadCommandTest, AStoredMessageIsNotFetchedAgain) {
  ASSERT_EQ(RunLarkspin(folder.Path(), {"download", "--account", "1", "1"}).exit_status, 0);
  const CliRun again = RunLarkspin(folder.Path(), {"download", "--account", "1", "1"});
  EXPECT_EQ(again.exit_status, 0);
  EXPECT_EQ(again.out, "1\t-1\tmailbox1/msg02_03_2004_10_11_12_+0100.txt\t\n");
  EXPECT_EQ(again.err, "larkspin: message 1 is already stored\n");
  size_t retrieves = 0;
  for (const std::string& line : server.ReceivedLines()) retrieves += line.starts_with("RETR");
  EXPECT_EQ(retrieves, 1u);
}

TEST_F(DownloadCommandTest, AMessageBeyondTheMailboxFailsWithTheMailboxCount) {
  const CliRun run = RunLarkspin(folder.Path(), {"download", "--account", "1", "7", "1"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.out, "1\t0\tmailbox1/msg02_03_2004_10_11_12_+0100.txt\t\n");
  EXPECT_EQ(run.err, "larkspin: no message 7; the mailbox has 2\n");
}

TEST_F(DownloadCommandTest, AHeaderTheServerRefusesFailsWithItsAnswer) {
  server.On("TOP", test_support::Reply("-ERR no such header\r\n"));
  const CliRun run = RunLarkspin(folder.Path(), {"download", "--account", "1", "2"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.err, "larkspin: message 2: Error GetMessageHeader: -ERR no such header\n");
}

TEST_F(DownloadCommandTest, AnAccountBeyondConfigIniFailsWithTheAccountCount) {
  const CliRun run = RunLarkspin(folder.Path(), {"download", "--account", "2", "1"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.err, "larkspin: no account 2; config.ini has 1\n");
  EXPECT_EQ(server.ConnectionCount(), 0);
}

TEST_F(DownloadCommandTest, AMessageFileThatCannotBeWrittenFails) {
  std::filesystem::create_directories(folder.File("mailbox1/msg02_03_2004_10_11_12_+0100.txt/blocked"));
  const CliRun run = RunLarkspin(folder.Path(), {"download", "--account", "1", "1"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.out, "1\t0\t\t\n");
  EXPECT_EQ(run.err,
            "larkspin: message 1: Error: Open file for writing: mailbox1/msg02_03_2004_10_11_12_+0100.txt\n");
}

TEST_F(DownloadCommandTest, TwoMessagesWithOneDateAreEachStoredInAFileOfTheirOwn) {
  std::string same_date = kPlain;
  same_date.replace(same_date.find("Subject: Hello"), 14, "Subject: Other");
  server.ServeMailbox({kPlain, same_date});
  const CliRun run = RunLarkspin(folder.Path(), {"download", "--account", "1", "1", "2"});
  EXPECT_EQ(run.exit_status, 0) << run.err;
  EXPECT_EQ(run.out,
            "1\t0\tmailbox1/msg02_03_2004_10_11_12_+0100.txt\t\n"
            "2\t0\tmailbox1/msg02_03_2004_10_11_12_+0100_2.txt\t\n");
  EXPECT_THAT(ReadFile(folder.File("mailbox1/msg02_03_2004_10_11_12_+0100_2.txt")), HasSubstr("Subject: Other\r\n"));
  const CliRun again = RunLarkspin(folder.Path(), {"download", "--account", "1", "2"});
  EXPECT_EQ(again.out, "2\t-1\tmailbox1/msg02_03_2004_10_11_12_+0100_2.txt\t\n");
}

TEST_F(DownloadCommandTest, AMessageWhoseAttachmentCannotBeStoredFailsAndIsNamed) {
  std::filesystem::create_directories(folder.File("mailbox1"));
  WriteFile(folder.File("mailbox1/attach"), "a file where the attach folder belongs");
  const CliRun run = RunLarkspin(folder.Path(), {"download", "--account", "1", "2"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_THAT(run.err, HasSubstr("larkspin: message 2: stored, but not whole"));
}

TEST_F(DownloadCommandTest, WrongArgumentsPrintTheUsage) {
  for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
           {"download"}, {"download", "--account", "1"}, {"download", "1", "2"}, {"download", "--account", "1", "x"}}) {
    const CliRun run = RunLarkspin(folder.Path(), arguments);
    EXPECT_EQ(run.exit_status, 2);
    EXPECT_EQ(run.err, "larkspin: usage: larkspin download --account N MESSAGE_NUMBER...\n");
  }
}

}  // namespace
}  // namespace larkspin
