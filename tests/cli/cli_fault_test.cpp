// larkspin peek and download against servers that go silent, answer late, cut the connection or
// send replies that never end: the process ends within one time-out, shows no header in the
// wrong row, stores no half message, and its memory and error texts stay bounded.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "common/string_tools.h"
#include "support/fake_pop3_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::CliRun;
using test_support::ConfigFor;
using test_support::EndlessLine;
using test_support::FakePop3Server;
using test_support::LateReply;
using test_support::ReadFile;
using test_support::ReplyAndClose;
using test_support::RunLarkspin;
using test_support::TempFolder;
using test_support::WriteFile;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr double kMarginSeconds = 1.5;
constexpr long kMemoryBoundKb = 64 * 1024;

std::string Message(int n) {
  return "From: sender" + std::to_string(n) + "@example.org\r\nSubject: number " + std::to_string(n) +
         "\r\nDate: Tue, 2 Mar 2004 10:11:12 +0100\r\n\r\nBody.\r\n";
}

std::vector<std::string> Mailbox(int count) {
  std::vector<std::string> messages;
  for (int n = 1; n <= count; ++n) messages.push_back(Message(n));
  return messages;
}

size_t LongestLine(const std::string& text) {
  size_t longest = 0;
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find('\n', start), text.size());
    longest = std::max(longest, end - start);
    start = end + 1;
  }
  return longest;
}

class CliFaultTest : public ::testing::Test {
 protected:
  // A config.ini for the server with the given [System] lines instead of TimeOut=5.
  void Configure(const std::string& system_lines) {
    std::string config = ConfigFor({server.Port()});
    ReplaceAll(config, "TimeOut=5\r\n", system_lines, ReplaceScope::kFirst);
    WriteFile(folder.File("config.ini"), config);
  }
  CliRun Run(const std::vector<std::string>& arguments) { return RunLarkspin(folder.Path(), arguments); }

  bool StoredAnyMessage() const {
    for (const auto& entry : std::filesystem::directory_iterator(folder.File("mailbox1")))
      if (entry.path().filename().string().starts_with("msg")) return true;
    return false;
  }

  FakePop3Server server;
  TempFolder folder;
};

TEST_F(CliFaultTest, APeekEndsWithinOneTimeOutWhenTheServerGoesSilent) {
  server.ServeMailbox(Mailbox(1000));
  server.GoSilentAfter(10, "TOP");
  Configure("TimeOut=1\r\n");
  const CliRun run = Run({"peek", "--account", "1"});
  std::printf("peek of 1,000 messages, silent after the 10th header, TimeOut=1: %.2f s\n", run.seconds);
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_LT(run.seconds, 1 + kMarginSeconds);
  EXPECT_THAT(run.out, HasSubstr("\n10\tsender10@example.org\t"));
  EXPECT_THAT(run.out, Not(HasSubstr("\n11\t")));
  EXPECT_EQ(run.err, "larkspin: Error GetMessageHeader: -ERR No reply from the server within 1 s; connection closed.\n");
}

TEST_F(CliFaultTest, ALateHeaderNeverShowsInTheNextRow) {
  server.ServeMailbox(Mailbox(3));
  server.On("TOP 1 ", LateReply("+OK\r\n" + Message(1).substr(0, Message(1).find("\r\n\r\n") + 2) + ".\r\n", 1500));
  Configure("TimeOut=1\r\n");
  const CliRun run = Run({"peek", "--account", "1"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_LT(run.seconds, 1 + kMarginSeconds);
  EXPECT_THAT(run.out, Not(HasSubstr("sender1@")));
  EXPECT_THAT(run.out, Not(HasSubstr("\n2\t")));
}

TEST_F(CliFaultTest, ADownloadOnACutConnectionStoresNothing) {
  server.ServeMailbox(Mailbox(2));
  server.On("RETR 2", ReplyAndClose("+OK\r\n" + Message(2).substr(0, 30)));
  Configure("TimeOut=5\r\n");
  const CliRun run = Run({"download", "--account", "1", "2", "1"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_LT(run.seconds, kMarginSeconds);
  EXPECT_FALSE(StoredAnyMessage());
  EXPECT_THAT(run.err, HasSubstr("message 1: Error GetMessageHeader: -ERR Not connected to the server."));
}

// Each endless reply fails with a short error line, stores nothing and keeps the process within
// a fixed amount of memory above what a plain peek needs.
TEST_F(CliFaultTest, EndlessRepliesFailWithBoundedMemoryAndShortErrors) {
  server.ServeMailbox(Mailbox(2));
  Configure("TimeOut=5\r\n");
  const CliRun idle = Run({"peek", "--account", "1"});
  ASSERT_EQ(idle.exit_status, 0) << idle.err;
  struct Case {
    const char* command;
    std::string start;
    std::vector<std::string> arguments;
    const char* limit;
  };
  const Case cases[] = {
      {"STAT", "+OK 2 ", {"peek", "--account", "1"}, "65536"},
      {"LIST", "+OK\r\n1 ", {"peek", "--account", "1"}, "65696"},
      {"TOP 1 ", "+OK\r\nSubject: ", {"peek", "--account", "1"}, "4194304"},
      {"RETR 1", "+OK\r\nSubject: ", {"download", "--account", "1", "1"}, "16777216"},
  };
  for (const Case& c : cases) {
    server.On(c.command, EndlessLine(c.start), 1);
    const CliRun run = Run(c.arguments);
    std::printf("endless reply to %s: peak %ld KiB (plain peek %ld KiB), %.2f s: %s", c.command, run.max_rss_kb,
                idle.max_rss_kb, run.seconds, run.err.c_str());
    EXPECT_EQ(run.exit_status, 1) << c.command;
    EXPECT_LT(run.max_rss_kb, idle.max_rss_kb + kMemoryBoundKb) << c.command;
    EXPECT_THAT(run.err, HasSubstr(std::string("too long (over ") + c.limit + " bytes); connection closed.")) << c.command;
    EXPECT_LT(LongestLine(run.err), 600u) << c.command;
  }
  EXPECT_LT(LongestLine(ReadFile(folder.File("larkspin.log"))), 600u);
  EXPECT_FALSE(StoredAnyMessage());
}

TEST_F(CliFaultTest, GarbageFromTheServerIsQuotedShortAndBlanked) {
  server.ServeMailbox(Mailbox(2));
  server.On("STAT", test_support::Reply("-ERR " + std::string(16 * 1024, '\x07') + "\r\n"));
  Configure("TimeOut=5\r\n");
  const CliRun run = Run({"peek", "--account", "1"});
  EXPECT_EQ(run.exit_status, 1);
  const std::string expected = "Error Statistics: -ERR " + std::string(512 - 3 - 5, ' ') + "...";
  EXPECT_EQ(run.err, "larkspin: " + expected + "\n");
  EXPECT_THAT(ReadFile(folder.File("larkspin.log")), HasSubstr(" \t" + expected + "\n"));
}

}  // namespace
}  // namespace larkspin
