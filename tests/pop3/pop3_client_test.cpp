#include "pop3/pop3_client.h"

#include <chrono>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/last_error.h"
#include "support/fake_pop3_server.h"

namespace larkspin {
namespace {

using test_support::FakePop3Server;
using test_support::Reply;
using test_support::Silence;
using test_support::SplitReply;
using ::testing::ElementsAre;

const std::string kFirst = "From: anna@example.org\r\nSubject: first\r\n\r\nHello.\r\n";
const std::string kSecond = "From: ben@example.org\r\nSubject: second\r\n\r\nLine one\r\n..dotted\r\n";

class Pop3ClientTest : public ::testing::Test {
 protected:
  bool ConnectTo(FakePop3Server& server, const std::string& user = "user", const std::string& password = "pw") {
    return client.Connect("127.0.0.1", user, password, server.Port());
  }
  CPop3Client client;
};

TEST_F(Pop3ClientTest, LogsInFetchesAndLogsOut) {
  FakePop3Server server;
  server.ServeMailbox({kFirst, kSecond});
  ASSERT_TRUE(ConnectTo(server)) << client.LastReply();
  int count = 0;
  int size = 0;
  ASSERT_TRUE(client.Statistics(count, size));
  EXPECT_EQ(count, 2);
  EXPECT_EQ(size, static_cast<int>(kFirst.size() + kSecond.size()));

  CPop3Text header;
  ASSERT_TRUE(client.GetMessageHeader(2, header));
  // The terminating "\r\n.\r\n" is cut off whole, with the last line's own line end.
  EXPECT_EQ(header.Text(), "From: ben@example.org\r\nSubject: second\r\n");
  CPop3Text whole;
  ASSERT_TRUE(client.Retrieve(2, whole));
  EXPECT_EQ(whole.Text() + "\r\n", kSecond);  // sent as "..dotted", handed on as ".dotted"
  uint32_t first_size = 0;
  ASSERT_TRUE(client.GetMessageSize(1, first_size));
  EXPECT_EQ(first_size, kFirst.size());
  ASSERT_TRUE(client.Delete(1));
  EXPECT_TRUE(client.Disconnect());
  EXPECT_FALSE(client.IsConnected());
  // STAT and LIST only once per connection, before the first TOP.
  EXPECT_THAT(server.ReceivedLines(), ElementsAre("CAPA", "USER user", "PASS pw", "STAT", "STAT", "LIST", "TOP 2 0",
                                                  "RETR 2", "DELE 1", "QUIT"));
}

TEST_F(Pop3ClientTest, ReplyCompletedByALaterPacketIsJoined) {
  FakePop3Server server(SplitReply({"+OK POP3 ", "server", " ready\r", "\n"}, 30));
  server.On("USER", Reply("+OK\r\n"));
  server.On("PASS", Reply("+OK\r\n"));
  server.On("STAT", Reply("+OK 1 40\r\n"));
  server.On("LIST", SplitReply({"+OK\r\n1 40\r\n", ".", "\r\n"}, 30));
  server.On("RETR 1", SplitReply({"+OK\r\nSubject: x\r\n\r\nbody\r\n.\r", "\n"}, 30));
  ASSERT_TRUE(ConnectTo(server)) << client.LastReply();
  CPop3Text message;
  ASSERT_TRUE(client.Retrieve(1, message)) << client.LastReply();
  // The first piece ends in "\r\n.\r" which is no terminator yet; the second completes it.
  EXPECT_EQ(message.Text(), "Subject: x\r\n\r\nbody");
}

struct StuffedReply {
  const char* what;
  std::vector<std::string> chunks;  // the reply to RETR 1 as the server sends it
  std::string text;                 // what Retrieve hands on
};

TEST_F(Pop3ClientTest, EveryLineBeginningWithADotLosesTheServersStuffingDot) {
  const std::string header = "+OK\r\nSubject: dots\r\n\r\n";
  const std::string attachment_part =
      "--b\r\nContent-Type: text/plain; name=\"dots.txt\"\r\nContent-Disposition: attachment\r\n\r\n";
  const std::vector<StuffedReply> cases = {
      {"text line", {header + "Hi\r\n..one dot\r\n...two\r\n.\r\n"}, "Subject: dots\r\n\r\nHi\r\n.one dot\r\n..two"},
      {"attachment line",
       {header + attachment_part + "..hidden\r\nline\r\n--b--\r\n.\r\n"},
       "Subject: dots\r\n\r\n" + attachment_part + ".hidden\r\nline\r\n--b--"},
      {"dot line first in the body", {header + "..\r\nafter\r\n.\r\n"}, "Subject: dots\r\n\r\n.\r\nafter"},
      {"first line of the reply", {"+OK\r\n..From: x\r\n\r\nb\r\n.\r\n"}, ".From: x\r\n\r\nb"},
      {"last line", {header + "a\r\n..z\r\n.\r\n"}, "Subject: dots\r\n\r\na\r\n.z"},
      {"split between the two dots", {header + "a\r\n.", ".b\r\n.\r\n"}, "Subject: dots\r\n\r\na\r\n.b"},
      {"split before the two dots", {header + "a\r\n", "..b\r\n.", "\r\n"}, "Subject: dots\r\n\r\na\r\n.b"},
      {"no line begins with a dot",
       {header + "a.b ... c.\r\n .x\r\n\t..y\r\n.\r\n"},
       "Subject: dots\r\n\r\na.b ... c.\r\n .x\r\n\t..y"},
  };
  for (const StuffedReply& reply : cases) {
    FakePop3Server server;
    server.ServeMailbox({"Subject: dots\r\n\r\nx\r\n"});
    server.On("RETR 1", SplitReply(reply.chunks, 30));
    ASSERT_TRUE(ConnectTo(server)) << reply.what;
    CPop3Text message;
    ASSERT_TRUE(client.Retrieve(1, message)) << reply.what << ": " << client.LastReply();
    EXPECT_EQ(message.Text(), reply.text) << reply.what;
    client.Disconnect();
  }
}

TEST_F(Pop3ClientTest, HeaderLinesBeginningWithADotArriveWhole) {
  const std::string message = ".Odd-Field: x\r\nSubject: s\r\n.. folded\r\n\r\n.\r\n";
  FakePop3Server server;
  server.ServeMailbox({message});
  ASSERT_TRUE(ConnectTo(server));
  CPop3Text header;
  ASSERT_TRUE(client.GetMessageHeader(1, header));
  EXPECT_EQ(header.Text(), ".Odd-Field: x\r\nSubject: s\r\n.. folded\r\n");
  CPop3Text whole;
  ASSERT_TRUE(client.Retrieve(1, whole));
  EXPECT_EQ(whole.Text() + "\r\n", message);
}

TEST_F(Pop3ClientTest, NegativeReplyToTopIsNoticedAtOnceAndKeepsTheConnection) {
  FakePop3Server server;
  server.ServeMailbox({kFirst, kSecond});
  server.On("TOP 1 ", Reply("-ERR no such message\r\n"));
  client.read_timeout_ms = 5000;
  ASSERT_TRUE(ConnectTo(server));
  CPop3Text header;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(client.GetMessageHeader(1, header));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(client.LastReply(), "-ERR no such message");
  EXPECT_TRUE(client.IsConnected());
  ASSERT_TRUE(client.GetMessageHeader(2, header));
  EXPECT_EQ(header.HeaderField("From"), "ben@example.org");
}

TEST_F(Pop3ClientTest, NegativePassFailsConnectButStillSendsQuit) {
  FakePop3Server server;
  server.On("USER", Reply("+OK\r\n"));
  server.On("PASS", Reply("-ERR [AUTH] Authentication failed.\r\n"));
  server.On("QUIT", Reply("+OK Logging out\r\n"));
  SetLastErrorCode(0);
  EXPECT_FALSE(ConnectTo(server));
  EXPECT_EQ(client.LastReply(), "-ERR [AUTH] Authentication failed.");
  EXPECT_EQ(LastErrorCode(), kErrorNegativeReply);
  EXPECT_FALSE(client.IsConnected());
  ASSERT_TRUE(server.WaitForDisconnect(2000));
  EXPECT_THAT(server.ReceivedLines(), ElementsAre("CAPA", "USER user", "PASS pw", "QUIT"));
}

TEST_F(Pop3ClientTest, LoginErrorSurvivesEvenAFailedQuit) {
  FakePop3Server server;
  server.On("USER", Reply("-ERR unknown user\r\n"));
  server.On("QUIT", Reply("-ERR odd\r\n"));
  EXPECT_FALSE(ConnectTo(server));
  EXPECT_EQ(client.LastReply(), "-ERR unknown user");
}

TEST_F(Pop3ClientTest, LowerCaseOkIsAcceptedExceptByStat) {
  FakePop3Server server(Reply("+ok hello\r\n"));
  server.On("USER", Reply("+ok\r\n"));
  server.On("PASS", Reply("+Ok\r\n"));
  server.On("STAT", Reply("+OK 5\r\n"));
  server.On("STAT", Reply("+OK 0 0\r\n"), 1);
  server.On("STAT", Reply("+ok 3 300\r\n"), 1);
  ASSERT_TRUE(ConnectTo(server)) << client.LastReply();
  int count = -1;
  int size = -1;
  EXPECT_FALSE(client.Statistics(count, size));
  EXPECT_EQ(client.LastReply(), "+ok 3 300");
  ASSERT_TRUE(client.Statistics(count, size));
  EXPECT_EQ(count, 0);
  EXPECT_EQ(size, 0);
  EXPECT_FALSE(client.Statistics(count, size));  // no second field
}

TEST_F(Pop3ClientTest, MessageNumberOutsideTheListFailsClearly) {
  FakePop3Server server;
  server.ServeMailbox({kFirst});
  ASSERT_TRUE(ConnectTo(server));
  CPop3Text message;
  EXPECT_FALSE(client.Retrieve(2, message));
  EXPECT_EQ(client.LastReply(), "-ERR Message 2 is not in the server's list of 1 messages.");
  EXPECT_FALSE(client.GetMessageHeader(0, message));
  EXPECT_FALSE(client.GetMessageHeader(-5, message));
}

TEST_F(Pop3ClientTest, LongLoginsAreSentWholeAndLineBreaksNeverLeave) {
  FakePop3Server server;
  server.ServeMailbox({});
  const std::string long_login(300, 'u');
  const std::string long_password(500, 'p');
  ASSERT_TRUE(ConnectTo(server, long_login, long_password));
  client.Disconnect();
  EXPECT_THAT(server.ReceivedLines(), ElementsAre("CAPA", "USER " + long_login, "PASS " + long_password, "QUIT"));

  FakePop3Server untouched;
  EXPECT_FALSE(ConnectTo(untouched, "user", "pw\r\nDELE 1"));
  EXPECT_FALSE(ConnectTo(untouched, "user\nDELE 1", "pw"));
  EXPECT_EQ(client.LastReply(), "-ERR The login name or password contains a line break and was not sent.");
  EXPECT_TRUE(untouched.ReceivedLines().empty());
}

TEST_F(Pop3ClientTest, PeerClosingMidReplyFailsWithWhatArrived) {
  FakePop3Server server;
  server.ServeMailbox({kFirst});
  test_support::ScriptedReply cut = Reply("+OK\r\nFrom: partial");
  cut.close_after = true;
  server.On("RETR 1\r", cut);
  ASSERT_TRUE(ConnectTo(server));
  CPop3Text message;
  EXPECT_FALSE(client.Retrieve(1, message));
  EXPECT_EQ(client.LastReply(), "-ERR The connection was closed by the server.");
  EXPECT_FALSE(client.IsConnected());
}

TEST_F(Pop3ClientTest, SilentServerTimesOut) {
  FakePop3Server server(Silence());
  client.read_timeout_ms = 200;
  EXPECT_FALSE(ConnectTo(server));
  EXPECT_EQ(client.LastReply(), "-ERR No reply from the server within 0.2 s; connection closed.");
}

TEST_F(Pop3ClientTest, MessageLargerThanAnnouncedGrowsTheBuffer) {
  std::string body;
  for (int i = 0; i < 20000; ++i) body += "line " + std::to_string(i) + "\r\n";
  FakePop3Server server;
  server.ServeMailbox({"Subject: big\r\n\r\n" + body});
  server.On("LIST", Reply("+OK\r\n1 10\r\n.\r\n"));
  ASSERT_TRUE(ConnectTo(server));
  CPop3Text message;
  ASSERT_TRUE(client.Retrieve(1, message));
  const std::string expected = body.substr(0, body.size() - 2);
  EXPECT_EQ(message.BodyText().size(), expected.size());
  EXPECT_TRUE(message.BodyText() == expected);
}

TEST_F(Pop3ClientTest, UnreachableServersGiveAClearReason) {
  EXPECT_FALSE(client.Connect("no-such-host.invalid", "u", "p", 110));
  EXPECT_EQ(LastErrorCode(), kErrorInvalidArgument);
  EXPECT_EQ(client.LastReply(), "Cannot resolve host name 'no-such-host.invalid'.");
  int closed_port;
  {
    FakePop3Server gone;
    closed_port = gone.Port();
  }
  EXPECT_FALSE(client.Connect("127.0.0.1", "u", "p", closed_port));
  EXPECT_NE(client.LastReply().find("Connection refused"), std::string::npos) << client.LastReply();
  EXPECT_FALSE(client.Disconnect());
}

}  // namespace
}  // namespace larkspin
