// The main window against a server that cuts the connection anywhere in a peek, a download and
// a Disconnect: each ends on its own, every row shows its own message, nothing is deleted that
// was not marked, and no message file is left half written.
#include <gmock/gmock.h>

#include <chrono>
#include <filesystem>

#include "common/message_box.h"
#include "main_window/main_window_fixture.h"
#include "support/fake_pop3_server.h"

namespace larkspin::test_support {
namespace {

using ::testing::Each;
using ::testing::Eq;
using ::testing::HasSubstr;
using test_support::EndlessLine;
using test_support::LateReply;
using test_support::Reply;
using test_support::ScriptedReply;
using test_support::Silence;

constexpr const char* kEndOfMessage = "end of message";

std::string Subject(int n) { return "Message " + std::to_string(n); }

class FaultTest : public MainWindowTest {
 protected:
  FaultTest() { Serve(server_); }

  // Three messages on server, and config.ini pointing at it with a time-out of one second.
  void Serve(FakePop3Server& server) {
    std::vector<std::string> messages;
    for (int n = 1; n <= 3; ++n)
      messages.push_back(MakeMessage("Sender <s@example.org>", Subject(n), "Mon, " + std::to_string(n) +
                                     " Mar 2004 10:00:00 +0100", 600) + kEndOfMessage + "\r\n");
    server.ServeMailbox(messages);
    WriteConfig("PeekTime=0\r\nTimeOut=1\r\n", {"Home"}, AccountSection(1, server.Port()));
  }

  // Peek, double-click message 1 (downloads it), mark message 2 for deletion and Disconnect.
  void RunSession() {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(PeekByConnect());
    for (int row = 0; row < RowCount(); ++row)
      EXPECT_EQ(Cell(row, kSubjectColumn), Subject(Dialog().RowRecord(row)->message_number));
    if (const int first = RowOfMessage(1); first >= 0) {
      SelectRows({first});
      ASSERT_TRUE(Window().DoubleClick(kHeaderList));
    }
    if (const int second = RowOfMessage(2); second >= 0) {
      SelectRows({second});
      ASSERT_TRUE(Window().Click(kDeleteButton));
    }
    if (Window().IsEnabled(kDisconnectButton)) {
      backend_.QueueMessageBoxAnswer(kButtonYes);
      ASSERT_TRUE(Window().Click(kDisconnectButton));
    }
    Close();
  }

  // Every stored message file holds its whole message; removes them and answers their number.
  int ExpectOnlyWholeFiles() {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.File("mailbox1"))) {
      if (!entry.is_regular_file() || entry.path().extension() != ".txt") continue;
      EXPECT_THAT(ReadFile(entry.path().string()), HasSubstr(kEndOfMessage)) << entry.path();
      std::filesystem::remove(entry.path());
      ++files;
    }
    return files;
  }

  FakePop3Server server_;
};

TEST_F(FaultTest, ACutAnywhereNeverActsOnTheWrongMessage) {
  RunSession();
  ASSERT_THAT(server_.DeletedMessages(), ::testing::ElementsAre(2));
  ASSERT_EQ(ExpectOnlyWholeFiles(), 1);
  const size_t dialogue = server_.BytesSent();

  // Every offset of the greeting and login, then a sample through the headers, RETR and DELE.
  for (size_t cut = 0; cut < dialogue; cut += cut < 120 ? 1 : 23) {
    SCOPED_TRACE("cut after " + std::to_string(cut) + " of " + std::to_string(dialogue) + " bytes");
    server_.CutAfterBytes(cut);
    const auto start = std::chrono::steady_clock::now();
    RunSession();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_THAT(server_.DeletedMessages(), Each(Eq(2))) << "the server records every DELE it received";
    ExpectOnlyWholeFiles();
  }
}

// "-ERR", garbage or a line that never ends at each command in turn; silence and a late answer,
// which cost a time-out each, in the middle of the peek and of the download.
TEST_F(FaultTest, AMisbehavingServerCostsOneTimeOutAtMost) {
  struct Fault {
    const char* name;
    ScriptedReply reply;
    bool waits;  // costs a time-out
  };
  const Fault faults[] = {{"silence", Silence(), true},
                          {"late", LateReply("+OK late\r\n", 1300), true},
                          {"negative", Reply("-ERR refused\r\n"), false},
                          {"garbage", Reply("garbage \x01\x02 no reply\r\n"), false},
                          {"endless", EndlessLine("+OK "), false}};
  for (const std::string command : {"USER", "PASS", "STAT", "LIST", "UIDL", "TOP 2", "RETR 1", "DELE 2"}) {
    for (const Fault& fault : faults) {
      if (fault.waits && command != "TOP 2" && command != "RETR 1") continue;
      SCOPED_TRACE(std::string(fault.name) + " at " + command);
      FakePop3Server server;
      Serve(server);
      server.On(command, fault.reply);
      const auto start = std::chrono::steady_clock::now();
      RunSession();
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
      EXPECT_THAT(server.DeletedMessages(), Each(Eq(2)));
      ExpectOnlyWholeFiles();
    }
  }
}

}  // namespace
}  // namespace larkspin::test_support
