// The POP3 client against servers that misbehave: connections cut at any byte, late and
// negative answers, garbage and replies that never end. Whatever happens, a header is returned
// only for the message it belongs to, and nothing is read from a connection after its replies
// lost their boundaries.
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pop3/pop3_client.h"
#include "support/fake_pop3_server.h"

namespace larkspin {
namespace {

using test_support::EndlessLine;
using test_support::FakePop3Server;
using test_support::LateReply;
using test_support::Reply;
using test_support::ScriptedReply;
using ::testing::HasSubstr;
using Clock = std::chrono::steady_clock;

constexpr unsigned kTimeOutMs = 1000;
constexpr auto kMargin = std::chrono::milliseconds(700);

std::string Message(int n, size_t header_filler = 0) {
  return "From: sender" + std::to_string(n) + "@example.org\r\nX-Filler: " + std::string(header_filler, 'f') +
         "\r\nSubject: number " + std::to_string(n) + "\r\n\r\nBody " + std::to_string(n) + ".\r\n";
}

std::vector<std::string> Mailbox(size_t header_filler = 0) {
  return {Message(1, header_filler), Message(2), Message(3, header_filler)};
}

// What a peek of the whole mailbox got: the sender of each header returned, by message number.
struct PeekRun {
  std::vector<std::pair<int, std::string>> senders;
  bool completed = false;
  Clock::duration elapsed{};
};

PeekRun Peek(CPop3Client& client, int port) {
  PeekRun run;
  const auto start = Clock::now();
  int count = 0;
  int size = 0;
  if (client.Connect("127.0.0.1", "user", "pw", port) && client.Statistics(count, size)) {
    run.completed = true;
    for (int n = 1; n <= count && run.completed; ++n) {
      CPop3Text header;
      run.completed = client.GetMessageHeader(n, header);
      if (run.completed) run.senders.emplace_back(n, header.HeaderField("From"));
    }
  }
  run.elapsed = Clock::now() - start;
  return run;
}

std::string SenderOf(int n) { return "sender" + std::to_string(n) + "@example.org"; }

// A failed peek left the client closed, and a later command fails at once without a word to
// the server.
void ExpectClosedAfterFailure(CPop3Client& client, FakePop3Server& server) {
  EXPECT_FALSE(client.IsConnected()) << client.LastReply();
  const size_t lines = server.ReceivedLines().size();
  CPop3Text header;
  const auto start = Clock::now();
  EXPECT_FALSE(client.GetMessageHeader(3, header));
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(50));
  EXPECT_EQ(client.LastReply(), "-ERR Not connected to the server.");
  EXPECT_EQ(server.ReceivedLines().size(), lines);
}

// Cuts the server's output after each offset in turn; every peek ends without waiting and
// returns only headers of the right messages.
void PeekCutAtEachOffset(const std::vector<std::string>& mailbox, size_t first, size_t last, size_t step) {
  for (size_t offset = first; offset <= last; offset += step) {
    FakePop3Server server;
    server.ServeMailbox(mailbox);
    server.CutAfterBytes(offset);
    CPop3Client client;
    client.read_timeout_ms = kTimeOutMs;
    const PeekRun run = Peek(client, server.Port());
    EXPECT_LT(run.elapsed, std::chrono::milliseconds(kTimeOutMs) + kMargin) << "cut after " << offset;
    for (const auto& [n, sender] : run.senders) EXPECT_EQ(sender, SenderOf(n)) << "cut after " << offset;
    if (!run.completed) ExpectClosedAfterFailure(client, server);
    EXPECT_TRUE(server.DeletedMessages().empty()) << "cut after " << offset;
  }
}

// The bytes a server sends for one whole peek of mailbox.
size_t PeekOutputSize(const std::vector<std::string>& mailbox) {
  FakePop3Server server;
  server.ServeMailbox(mailbox);
  CPop3Client client;
  EXPECT_TRUE(Peek(client, server.Port()).completed);
  return server.BytesSent();
}

TEST(Pop3FaultTest, ACutAtAnyByteOfAPeekNeverGivesAHeaderToTheWrongMessage) {
  const size_t total = PeekOutputSize(Mailbox());
  ASSERT_GT(total, 250u);
  PeekCutAtEachOffset(Mailbox(), 0, total, 1);
}

TEST(Pop3FaultTest, ACutInsideLongRepliesNeverGivesAHeaderToTheWrongMessage) {
  const std::vector<std::string> mailbox = Mailbox(300000);
  const size_t total = PeekOutputSize(mailbox);
  PeekCutAtEachOffset(mailbox, 0, total, 12007);
}

TEST(Pop3FaultTest, ALateHeaderIsNeverTakenForTheNextOne) {
  FakePop3Server server;
  server.ServeMailbox(Mailbox());
  server.On("TOP 1 ", LateReply("+OK\r\nFrom: " + SenderOf(1) + "\r\n.\r\n", 300));
  CPop3Client client;
  client.read_timeout_ms = 150;
  const PeekRun run = Peek(client, server.Port());
  EXPECT_FALSE(run.completed);
  EXPECT_TRUE(run.senders.empty());
  EXPECT_EQ(client.LastReply(), "-ERR No reply from the server within 0.15 s; connection closed.");
  ExpectClosedAfterFailure(client, server);
}

TEST(Pop3FaultTest, ASilentServerCostsOneTimeOut) {
  FakePop3Server server;
  server.ServeMailbox(Mailbox());
  server.GoSilentAfter(1, "TOP");
  CPop3Client client;
  client.read_timeout_ms = 300;
  const PeekRun run = Peek(client, server.Port());
  EXPECT_FALSE(run.completed);
  EXPECT_THAT(run.senders, ::testing::ElementsAre(std::pair(1, SenderOf(1))));
  EXPECT_LT(run.elapsed, std::chrono::milliseconds(300) + kMargin);
  ExpectClosedAfterFailure(client, server);
}

// Runs one operation of a logged-in client; the command it sends is what the server refuses.
struct Operation {
  const char* command;
  bool (*run)(CPop3Client&);
};

bool Stat(CPop3Client& client) {
  int count = 0;
  int size = 0;
  return client.Statistics(count, size);
}
bool List(CPop3Client& client) {
  uint32_t size = 0;
  return client.GetMessageSize(1, size);
}
bool Uidl(CPop3Client& client) {
  std::string id;
  return client.GetUniqueId(1, id);
}
bool Top(CPop3Client& client) {
  CPop3Text text;
  return client.GetMessageHeader(2, text);
}
bool Retr(CPop3Client& client) {
  CPop3Text text;
  return client.Retrieve(2, text);
}
bool Dele(CPop3Client& client) { return client.Delete(2); }

const Operation kOperations[] = {{"STAT", Stat}, {"LIST", List},     {"UIDL", Uidl},
                                 {"TOP 2", Top}, {"RETR 2", Retr}, {"DELE 2", Dele}};

TEST(Pop3FaultTest, ANegativeAnswerIsNoticedAtOnceAndKeepsTheConnection) {
  for (const Operation& operation : kOperations) {
    FakePop3Server server;
    server.ServeMailbox(Mailbox());
    server.On(operation.command, Reply("-ERR refused\r\n"), 1);
    CPop3Client client;
    client.read_timeout_ms = 5000;
    ASSERT_TRUE(client.Connect("127.0.0.1", "user", "pw", server.Port()));
    const auto start = Clock::now();
    EXPECT_FALSE(operation.run(client)) << operation.command;
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1)) << operation.command;
    EXPECT_EQ(client.LastReply(), "-ERR refused") << operation.command;
    EXPECT_EQ(client.LastFailure(), CPop3Client::Failure::kOther) << operation.command;
    EXPECT_TRUE(client.IsConnected()) << operation.command;
    EXPECT_EQ(server.DeletedMessages().size(), operation.run == Dele ? 1u : 0u) << operation.command;
    CPop3Text header;
    ASSERT_TRUE(client.GetMessageHeader(3, header)) << operation.command << ": " << client.LastReply();
    EXPECT_EQ(header.HeaderField("From"), SenderOf(3));
  }
  for (const char* login_step : {"USER", "PASS"}) {
    FakePop3Server server;
    server.ServeMailbox(Mailbox());
    server.On(login_step, Reply("-ERR refused\r\n"));
    CPop3Client client;
    client.read_timeout_ms = 5000;
    const auto start = Clock::now();
    EXPECT_FALSE(client.Connect("127.0.0.1", "user", "pw", server.Port()));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1)) << login_step;
    EXPECT_EQ(client.LastReply(), "-ERR refused");
  }
}

TEST(Pop3FaultTest, GarbageAndEndlessRepliesCloseTheConnectionWithAClearReason) {
  struct Case {
    const char* command;
    ScriptedReply reply;
    std::string reason;
    CPop3Client::Failure kind;
  };
  constexpr auto kTooLong = CPop3Client::Failure::kReplyTooLong;
  constexpr auto kOther = CPop3Client::Failure::kOther;
  const std::string listing_limit = std::to_string(3 * CPop3Client::kListingBytesPerMessage + CPop3Client::kMaxStatusLine);
  const Case cases[] = {
      {"STAT", EndlessLine("+OK 3 "), "too long (over 65536 bytes)", kTooLong},
      {"LIST", EndlessLine("+OK\r\n1 "), "too long (over " + listing_limit + " bytes)", kTooLong},
      {"UIDL", EndlessLine("+OK\r\n1 "), "too long (over " + listing_limit + " bytes)", kTooLong},
      {"TOP 2", EndlessLine("+OK\r\nFrom: "), "too long (over 4194304 bytes)", kTooLong},
      {"TOP 2", EndlessLine("+OK "), "too long (over 65536 bytes)", kOther},  // the status line alone
      {"RETR 2", EndlessLine("+OK\r\n"), "too long (over 1048576 bytes)", kTooLong},
      {"TOP 2", Reply("\x01\x02 noise\r\n"), "not a POP3 reply", kOther},
      {"TOP 2", Reply("+OK\r\nFrom: x\r\n.\r\n+OK\r\n"), "more than one reply", kOther},
      {"DELE 2", Reply("+OK deleted\r\n-ERR odd\r\n"), "more than one reply", kOther},
  };
  for (const Case& c : cases) {
    FakePop3Server server;
    server.ServeMailbox(Mailbox());
    server.On(c.command, c.reply);
    CPop3Client client;
    client.max_message_bytes = size_t{1} << 20;
    ASSERT_TRUE(client.Connect("127.0.0.1", "user", "pw", server.Port()));
    const Operation& operation =
        *std::find_if(std::begin(kOperations), std::end(kOperations),
                      [&](const Operation& o) { return std::string(o.command) == c.command; });
    EXPECT_FALSE(operation.run(client)) << c.command;
    EXPECT_THAT(client.LastReply(), HasSubstr(c.reason)) << c.command;
    EXPECT_THAT(client.LastReply(), HasSubstr("; connection closed.")) << c.command;
    EXPECT_EQ(client.LastFailure(), c.kind) << c.command << ": " << c.reason;
    ExpectClosedAfterFailure(client, server);
  }
}

TEST(Pop3FaultTest, UniqueIdsComeFromOneUidlPerConnection) {
  FakePop3Server server;
  const std::vector<std::string> mailbox = Mailbox();
  server.ServeMailbox(mailbox);
  CPop3Client client;
  ASSERT_TRUE(client.Connect("127.0.0.1", "user", "pw", server.Port()));
  EXPECT_FALSE(client.SupportsUniqueIds());
  std::string id;
  for (const int n : {3, 1, 2}) {
    ASSERT_TRUE(client.GetUniqueId(n, id)) << client.LastReply();
    EXPECT_EQ(id, FakePop3Server::UniqueIdOf(mailbox[static_cast<size_t>(n) - 1]));
  }
  EXPECT_TRUE(client.SupportsUniqueIds());
  EXPECT_FALSE(client.GetUniqueId(4, id));
  EXPECT_EQ(client.LastReply(), "-ERR Message 4 is not in the server's UIDL list.");
  client.Disconnect();
  EXPECT_FALSE(client.SupportsUniqueIds());
  EXPECT_THAT(server.ReceivedLines(), ::testing::ElementsAre("CAPA", "USER user", "PASS pw", "STAT", "UIDL", "QUIT"));
}

TEST(Pop3FaultTest, AServerWithoutUidlIsAskedOnceAndStaysUsable) {
  FakePop3Server server;
  server.ServeMailbox(Mailbox());
  server.RefuseUidl();
  CPop3Client client;
  ASSERT_TRUE(client.Connect("127.0.0.1", "user", "pw", server.Port()));
  std::string id;
  EXPECT_FALSE(client.GetUniqueId(1, id));
  EXPECT_EQ(client.LastReply(), "-ERR unknown command");
  EXPECT_FALSE(client.GetUniqueId(2, id));
  EXPECT_TRUE(client.IsConnected());
  EXPECT_FALSE(client.SupportsUniqueIds());
  CPop3Text header;
  ASSERT_TRUE(client.GetMessageHeader(1, header));
  EXPECT_EQ(header.HeaderField("From"), SenderOf(1));
  client.Disconnect();
  EXPECT_THAT(server.ReceivedLines(),
              ::testing::ElementsAre("CAPA", "USER user", "PASS pw", "STAT", "UIDL", "LIST", "TOP 1 0", "QUIT"));
}

}  // namespace
}  // namespace larkspin
