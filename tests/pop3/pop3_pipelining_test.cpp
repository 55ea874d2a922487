// A run of headers sent ahead to the fake server: every reply is matched to its own message by
// position, whatever the server breaks, and a broken reply ends the connection.
#include <functional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pop3/pop3_client.h"
#include "support/fake_pop3_server.h"

namespace larkspin {
namespace {

using test_support::FakePop3Server;
using test_support::LateReply;
using test_support::Reply;
using test_support::ReplyAndClose;

constexpr int kMessages = 10;

std::string MessageNumbered(int n) { return "Subject: m" + std::to_string(n) + "\r\n\r\nbody\r\n"; }

std::vector<std::string> Mailbox(int count = kMessages) {
  std::vector<std::string> messages;
  for (int n = 1; n <= count; ++n) messages.push_back(MessageNumbered(n));
  return messages;
}

std::vector<int> Numbers(int count) {
  std::vector<int> numbers;
  for (int n = 1; n <= count; ++n) numbers.push_back(n);
  return numbers;
}

// Each message's subject as fetched in the run, "-" for a failure; "|" once the connection is gone.
std::string FetchRun(CPop3Client& client, int count) {
  std::string outcome;
  client.PlanRun(CPop3Client::RunKind::kHeaders, Numbers(count));
  for (int n = 1; n <= count && client.IsConnected(); ++n) {
    CPop3Text header;
    outcome += client.GetMessageHeader(n, header) ? header.HeaderField("Subject") : "-";
    outcome += client.IsConnected() ? " " : "|";
  }
  return outcome;
}

struct BrokenRunCase {
  const char* what;
  std::function<void(FakePop3Server&)> break_server;
  const char* outcome;
};

TEST(Pop3PipeliningTest, EveryReplyOfARunBelongsToItsOwnMessage) {
  const BrokenRunCase cases[] = {
      {"nothing broken", [](FakePop3Server&) {}, "m1 m2 m3 m4 m5 m6 m7 m8 m9 m10 "},
      {"one TOP refused", [](FakePop3Server& s) { s.On("TOP 3 ", Reply("-ERR no such message\r\n")); },
       "m1 m2 - m4 m5 m6 m7 m8 m9 m10 "},
      {"a cut inside the 4th reply",
       [](FakePop3Server& s) { s.On("TOP 4 ", ReplyAndClose("+OK\r\nSubject: m4\r\n")); }, "m1 m2 m3 -|"},
      {"a reply after the time-out", [](FakePop3Server& s) { s.On("TOP 2 ", LateReply("+OK\r\nSubject: m2\r\n.\r\n", 600)); },
       "m1 -|"},
      {"a reply that is no POP3 reply", [](FakePop3Server& s) { s.On("TOP 5 ", Reply("Subject: m5\r\n.\r\n")); },
       "m1 m2 m3 m4 -|"},
      {"an unasked reply after the last",
       [](FakePop3Server& s) { s.On("TOP 10 ", Reply("+OK\r\nSubject: m10\r\n.\r\n+OK extra\r\n")); },
       "m1 m2 m3 m4 m5 m6 m7 m8 m9 -|"},
  };
  for (const BrokenRunCase& c : cases) {
    FakePop3Server server;
    server.ServeMailbox(Mailbox());
    c.break_server(server);
    CPop3Client client;
    client.pipelining = Pipelining::kAlways;
    client.read_timeout_ms = 300;
    ASSERT_TRUE(client.Connect("127.0.0.1", "user", "pw", server.Port())) << c.what;
    ASSERT_TRUE(client.FetchListings(false)) << c.what;
    EXPECT_EQ(FetchRun(client, kMessages), c.outcome) << c.what;
  }
}

TEST(Pop3PipeliningTest, ListingsGoTogetherAndAtMostTheWindowIsSentAhead) {
  FakePop3Server server;
  server.On("CAPA", Reply("+OK\r\nPIPELINING\r\n.\r\n"));
  server.ServeMailbox(Mailbox(100));
  server.GoSilentAfter(0, "TOP");
  CPop3Client client;
  client.read_timeout_ms = 300;
  ASSERT_TRUE(client.Connect("127.0.0.1", "user", "pw", server.Port()));
  ASSERT_TRUE(client.FetchListings(true));
  std::string id;
  EXPECT_TRUE(client.GetUniqueId(100, id));
  EXPECT_EQ(FetchRun(client, 100), "-|");
  std::vector<std::string> expected = {"CAPA", "USER user", "PASS pw", "STAT", "LIST", "UIDL"};
  for (size_t n = 1; n <= CPop3Client::kPipelineWindow; ++n) expected.push_back("TOP " + std::to_string(n) + " 0");
  EXPECT_EQ(server.ReceivedLines(), expected);
}

TEST(Pop3PipeliningTest, NeverOrAnUnlistedCapabilityKeepsLockStep) {
  for (const Pipelining setting : {Pipelining::kNever, Pipelining::kAuto}) {
    FakePop3Server server;  // lists no capabilities
    server.ServeMailbox(Mailbox(3));
    CPop3Client client;
    client.pipelining = setting;
    ASSERT_TRUE(client.Connect("127.0.0.1", "user", "pw", server.Port()));
    EXPECT_FALSE(client.Pipelines());
    ASSERT_TRUE(client.FetchListings(true));
    EXPECT_EQ(FetchRun(client, 3), "m1 m2 m3 ");
    // An interrupted run: the other command is answered in its own place.
    client.PlanRun(CPop3Client::RunKind::kHeaders, Numbers(3));
    CPop3Text whole;
    EXPECT_TRUE(client.Retrieve(2, whole));
    EXPECT_EQ(whole.HeaderField("Subject"), "m2");
  }
}

TEST(Pop3PipeliningTest, AnotherCommandFirstReadsTheRepliesSentAhead) {
  FakePop3Server server;
  server.ServeMailbox(Mailbox(5));
  CPop3Client client;
  client.pipelining = Pipelining::kAlways;
  ASSERT_TRUE(client.Connect("127.0.0.1", "user", "pw", server.Port()));
  client.PlanRun(CPop3Client::RunKind::kRetrieve, {1, 2, 3, 4, 5});
  CPop3Text message;
  ASSERT_TRUE(client.Retrieve(1, message));
  ASSERT_TRUE(client.GetMessageHeader(4, message)) << client.LastReply();
  EXPECT_EQ(message.HeaderField("Subject"), "m4");
  EXPECT_TRUE(client.Disconnect()) << client.LastReply();
}

}  // namespace
}  // namespace larkspin
