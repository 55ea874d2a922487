#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <utility>

#include "cli_runner.h"
#include "common/format.h"
#include "support/fake_pop3_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::CliRun;
using test_support::ConfigFor;
using test_support::FakePop3Server;
using test_support::ReadFile;
using test_support::Reply;
using test_support::RunLarkspin;
using test_support::TempFolder;
using test_support::WriteFile;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kFirst =
    "From: \"Berg, Anna\" <anna@example.org>\r\nSubject: Agenda\r\nDate: Tue, 2 Mar 2004 10:11:12 +0100\r\n\r\n"
    "Hello.\r\n";
const std::string kSecond =
    "From: =?iso-8859-1?q?J=FCrgen?= <j@example.org>\r\nSubject: =?iso-8859-1?q?Gr=FC=DFe=0D=0Aaus_K=F6ln?=\r\n"
    "Date: Wed, 3 Mar 2004 08:00:00 +0100\r\n\r\n" +
    std::string(3000, 'x') + "\r\n";

class PeekCommandTest : public ::testing::Test {
 protected:
  void Configure(const std::vector<int>& ports) { WriteFile(folder.File("config.ini"), ConfigFor(ports)); }

  TempFolder folder;
};

TEST_F(PeekCommandTest, PrintsOneTabSeparatedLinePerMessageThenTheTotal) {
  FakePop3Server server;
  server.ServeMailbox({kFirst, kSecond});
  Configure({server.Port()});
  const CliRun run = RunLarkspin(folder.Path(), {"peek", "--account", "1"});
  EXPECT_EQ(run.exit_status, 0) << run.err;
  // Windows-1252 texts come out as UTF-8; the encoded CR LF becomes two blanks.
  const size_t total = kFirst.size() + kSecond.size();
  EXPECT_EQ(run.out, "1\tBerg, Anna\tAgenda\t02.03.2004 10:11:12 +0100\tBox 1\t0k\n"
                     "2\tJ\u00fcrgen\tGr\u00fc\u00dfe  aus_K\u00f6ln\t03.03.2004 08:00:00 +0100\tBox 1\t3k\n" +
                         FormatText("Total messages: 2     Total size: %.2lf kbyte (%zu byte)\n", total / 1024.0, total));
  EXPECT_EQ(run.err, "");
  // Only headers are fetched, and the account's folders exist afterwards, as after a peek in the window.
  EXPECT_THAT(server.ReceivedLines(),
              ElementsAre("CAPA", "USER user", "PASS secret", "STAT", "STAT", "LIST", "TOP 1 0", "TOP 2 0", "QUIT"));
  EXPECT_TRUE(std::filesystem::is_directory(folder.File("mailbox1/attach")));
}

TEST_F(PeekCommandTest, AllAccountsPrintsWhatItReachedAndNamesEachAccountItCouldNotCheck) {
  FakePop3Server first;
  first.ServeMailbox({kFirst});
  FakePop3Server fourth;
  fourth.ServeMailbox({kFirst, kFirst});
  constexpr int kRefusingPort = 1;  // nothing listens there
  Configure({first.Port(), 0, kRefusingPort, fourth.Port()});
  const CliRun run = RunLarkspin(folder.Path(), {"peek", "--all"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.out,
            "1\tBerg, Anna\tAgenda\t02.03.2004 10:11:12 +0100\tBox 1\t0k\n"
            "1\tBerg, Anna\tAgenda\t02.03.2004 10:11:12 +0100\tBox 4\t0k\n"
            "2\tBerg, Anna\tAgenda\t02.03.2004 10:11:12 +0100\tBox 4\t0k\n" +
                FormatText("Total messages: 3     Total size: %.2lf kbyte (%zu byte)\n", 3 * kFirst.size() / 1024.0,
                           3 * kFirst.size()));
  EXPECT_EQ(run.err,
            "larkspin: account 2 (Box 2) skipped: no stored login or password\n"
            "larkspin: Error connecting to 127.0.0.1: Cannot connect to 127.0.0.1:1: Connection refused\n"
            "larkspin: 2 accounts could not be checked: Box 2 (no stored login), Box 3 (connection refused)\n");
}

// Three slow servers (each header 400 ms late): side by side they take the time of one, and the
// rows still come out account after account, as one after the other.
TEST_F(PeekCommandTest, AllAccountsSideBySidePrintAsOneAfterTheOther) {
  std::vector<std::unique_ptr<FakePop3Server>> servers;
  std::vector<int> ports;
  for (int n = 0; n < 3; ++n) {
    servers.push_back(std::make_unique<FakePop3Server>());
    servers.back()->ServeMailbox({kFirst, kSecond});
    servers.back()->On("TOP 1 ", test_support::LateReply("+OK\r\n" + kFirst.substr(0, kFirst.find("\r\n\r\n") + 4) +
                                                          ".\r\n", 400));
    ports.push_back(servers.back()->Port());
  }
  std::vector<std::pair<std::string, double>> runs;
  for (const char* parallel : {"ParallelAccounts=1\r\n", ""}) {
    WriteFile(folder.File("config.ini"), ConfigFor(ports, parallel));
    const auto start = std::chrono::steady_clock::now();
    const CliRun run = RunLarkspin(folder.Path(), {"peek", "--all"});
    EXPECT_EQ(run.exit_status, 0) << run.err;
    runs.emplace_back(run.out, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  EXPECT_THAT(runs[0].first, HasSubstr("Box 1\t0k\n2\t"));
  EXPECT_THAT(runs[0].first, HasSubstr("Box 3\t3k\nTotal messages: 6"));
  EXPECT_EQ(runs[1].first, runs[0].first);
  EXPECT_GT(runs[0].second, 1.2);
  EXPECT_LT(runs[1].second, runs[0].second - 0.5);
}

TEST_F(PeekCommandTest, PreviewPrintsTheFirstLinesThenTheAttachmentsBegunInThem) {
  FakePop3Server server;
  server.ServeMailbox({kFirst, kSecond});
  server.On("TOP 2 4\r", Reply("+OK\r\nContent-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\n"
                               "Content-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: base64\r\n\r\n"
                               "R3LDvMOfZQkxGwo=\r\n--b\r\nContent-Disposition: attachment; filename=\"a.png\"\r\n"
                               "Content-Type: image/png\r\n.\r\n"));
  WriteFile(folder.File("config.ini"), ConfigFor({server.Port()}, "PreviewLines=4\r\n"));
  const CliRun run = RunLarkspin(folder.Path(), {"preview", "--account", "1", "2"});
  EXPECT_EQ(run.exit_status, 0) << run.err;
  EXPECT_EQ(run.out, "Gr\u00fc\u00dfe 1 \na.png\timage/png\n");  // the tab and escape made blanks
  EXPECT_EQ(RunLarkspin(folder.Path(), {"preview", "--account", "1", "3"}).exit_status, 1);
  EXPECT_EQ(RunLarkspin(folder.Path(), {"preview", "--account", "1"}).exit_status, 2);
}

TEST_F(PeekCommandTest, ASingleAccountWithoutCredentialsFails) {
  Configure({0});
  const CliRun run = RunLarkspin(folder.Path(), {"peek", "--account", "1"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.err, "larkspin: account 1 (Box 1) skipped: no stored login or password\n");
  EXPECT_EQ(run.out, "Total messages: 0     Total size: 0.00 kbyte (0 byte)\n");
}

TEST_F(PeekCommandTest, AnAccountBeyondConfigIniFailsWithTheAccountCount) {
  Configure({0, 0});
  const CliRun run = RunLarkspin(folder.Path(), {"peek", "--account", "3"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.err, "larkspin: no account 3; config.ini has 2\n");
}

TEST_F(PeekCommandTest, WithoutOptionTheAccountSelectedInTheWindowIsPeeked) {
  FakePop3Server first;
  FakePop3Server second;
  second.ServeMailbox({kFirst});
  Configure({first.Port(), second.Port()});
  std::filesystem::create_directories(folder.File("xdg/larkspin"));
  WriteFile(folder.File("xdg/larkspin/profile.ini"), "[66]\naccount=1\n");
  const CliRun run = RunLarkspin(folder.Path(), {"peek"});
  EXPECT_EQ(run.exit_status, 0) << run.err;
  EXPECT_THAT(run.out, HasSubstr("\tBox 2\t"));
  EXPECT_EQ(first.ConnectionCount(), 0);
}

TEST_F(PeekCommandTest, AFailedConnectionIsReportedAndLogged) {
  FakePop3Server server;
  server.On("USER", test_support::Reply("+OK\r\n"));
  server.On("PASS", test_support::Reply("-ERR invalid login\r\n"));
  Configure({server.Port()});
  const CliRun run = RunLarkspin(folder.Path(), {"peek", "--account", "1"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.err, "larkspin: Error connecting to 127.0.0.1: -ERR invalid login\n");
  EXPECT_THAT(ReadFile(folder.File("larkspin.log")), HasSubstr(" \tError connecting to 127.0.0.1: -ERR invalid login\n"));
}

TEST_F(PeekCommandTest, AHeaderTooLargeToReadGetsItsRowAndTheOthersFollowOnANewLogin) {
  const std::string big = "X-Big: " + std::string(4 << 20, 'b') + "\r\n" + kFirst;
  FakePop3Server server;
  server.ServeMailbox({kFirst, big, kFirst, kFirst});
  Configure({server.Port()});
  const CliRun run = RunLarkspin(folder.Path(), {"peek", "--account", "1"});
  EXPECT_EQ(run.exit_status, 1);
  const std::string row = "\tBerg, Anna\tAgenda\t02.03.2004 10:11:12 +0100\tBox 1\t0k\n";
  const size_t total = 3 * kFirst.size() + big.size();
  const std::string total_line =
      FormatText("Total messages: 4     Total size: %.2lf kbyte (%zu byte)\n", total / 1024.0, total);
  EXPECT_EQ(run.out,
            "1" + row + "2\t\t(header larger than 4 MiB: not shown)\t\tBox 1\t4096k\n3" + row + "4" + row + total_line);
  EXPECT_EQ(run.err,
            "larkspin: message 2 of account Box 1 not shown: -ERR The server's reply is too long (over 4194304 bytes); "
            "connection closed.\n");
  EXPECT_EQ(server.ConnectionCount(), 2);
}

TEST_F(PeekCommandTest, ARefusedNewLoginAfterAHeaderTooLargeEndsTheListWithItsReason) {
  const std::string big = "X-Big: " + std::string(4 << 20, 'b') + "\r\n" + kFirst;
  FakePop3Server server;
  server.ServeMailbox({big, kFirst});
  server.On("PASS", test_support::Reply("-ERR no more logins\r\n"));
  server.On("PASS", test_support::Reply("+OK\r\n"), 1);
  Configure({server.Port()});
  const CliRun run = RunLarkspin(folder.Path(), {"peek", "--account", "1"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_THAT(run.out, HasSubstr("1\t\t(header larger than 4 MiB: not shown)\t\tBox 1\t4096k\nTotal messages: 2 "));
  EXPECT_THAT(run.err, HasSubstr("not shown: -ERR The server's reply is too long"));
  EXPECT_THAT(run.err, ::testing::EndsWith("connection closed.\nlarkspin: Error connecting to 127.0.0.1: -ERR no more logins\n"));
}

TEST_F(PeekCommandTest, ALogThatCannotBeOpenedIsSaidAndThePeekGoesOn) {
  Configure({0});
  std::filesystem::create_directory(folder.File("larkspin.log"));
  const CliRun run = RunLarkspin(folder.Path(), {"peek", "--account", "1"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.err, "Couldn't open LogFile.\nlarkspin: account 1 (Box 1) skipped: no stored login or password\n");
}

TEST_F(PeekCommandTest, AFolderWithoutAccountsIsAnError) {
  const CliRun run = RunLarkspin(folder.Path(), {"peek", "--all"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.err, "larkspin: no accounts in config.ini of this folder\n");
  EXPECT_EQ(run.out, "");
}

TEST_F(PeekCommandTest, WrongArgumentsPrintTheUsage) {
  Configure({});
  for (const std::vector<std::string>& arguments :
       std::vector<std::vector<std::string>>{{"peek", "--account"}, {"peek", "--account", "x"}, {"peek", "--every"},
                                             {"peek", "--account", "0"}}) {
    const CliRun run = RunLarkspin(folder.Path(), arguments);
    EXPECT_EQ(run.exit_status, 2);
    EXPECT_EQ(run.err, "larkspin: usage: larkspin peek [--account N | --all]\n");
    EXPECT_EQ(run.out, "");
  }
}

}  // namespace
}  // namespace larkspin
