// CPop3Client against a real Dovecot POP3 server.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "pop3/pop3_client.h"
#include "support/dovecot_server.h"

namespace larkspin {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::string kUser = "carla";
const std::string kPassword = "Fr\xFChling 2026!";

const std::vector<std::string> kMessages = {
    "From: Anna Berg <anna.berg@example.org>\r\n"
    "To: Carla Lind <carla@example.net>\r\n"
    "Subject: Minutes of Monday's meeting\r\n"
    "Date: Mon, 12 Jan 2026 09:14:03 +0100\r\n"
    "Message-ID: <minutes-0112@example.org>\r\n"
    "\r\n"
    "Hello Carla,\r\n"
    "\r\n"
    "the minutes are attached to the wiki page. Please check item 4.\r\n"
    "\r\n"
    "Anna\r\n",

    "From: Build Robot <ci@builds.example.com>\r\n"
    "To: carla@example.net\r\n"
    "Subject: Nightly build 1842 failed on the\r\n"
    "\tarm64 runner after 41 minutes\r\n"
    "Date: Tue, 13 Jan 2026 02:41:55 +0000\r\n"
    "\r\n"
    "Step 7 of 9 (integration tests) failed.\r\n",

    "From: Ben Ostrowski <ben@example.org>\r\n"
    "To: Carla Lind <carla@example.net>\r\n"
    "Subject: Re: Bike tour on Saturday\r\n"
    "Date: Wed, 14 Jan 2026 18:02:37 +0100\r\n"
    "\r\n"
    "Count me in. I will bring the spare tubes and the map.\r\n"
    "\r\n"
    "> Shall we start at nine at the station?\r\n"
    "> The forecast says dry and cold.\r\n"
    "\r\n"
    "Ben\r\n",
};

std::string HeaderOf(const std::string& message) { return message.substr(0, message.find("\r\n\r\n") + 2); }

class Pop3DovecotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.AddUser(kUser, kPassword);
    for (const std::string& message : kMessages) server.AddMessage(kUser, message);
    server.Start();
    // A loaded machine (parallel tests, sanitizers) must not turn a slow reply into a failure.
    client.read_timeout_ms = 20000;
  }

  bool LogIn(const std::string& password = kPassword) {
    return client.Connect("127.0.0.1", kUser, password, server.Port());
  }

  test_support::DovecotServer server;
  CPop3Client client;
};

TEST_F(Pop3DovecotTest, ReadsStatisticsSizesHeadersAndWholeMessages) {
  ASSERT_TRUE(LogIn()) << client.LastReply() << server.LogText();
  EXPECT_TRUE(client.Capabilities().pipelining && client.Capabilities().uidl && client.Capabilities().top);
  int count = 0;
  int total = 0;
  ASSERT_TRUE(client.Statistics(count, total)) << client.LastReply();
  EXPECT_EQ(count, 3);
  EXPECT_EQ(total, static_cast<int>(kMessages[0].size() + kMessages[1].size() + kMessages[2].size()));

  const std::vector<std::string> files = server.MessageFiles(kUser);
  ASSERT_EQ(files.size(), kMessages.size());
  for (int n = 1; n <= 3; ++n) {
    uint32_t size = 0;
    ASSERT_TRUE(client.GetMessageSize(n, size)) << client.LastReply();
    EXPECT_EQ(size, kMessages[n - 1].size()) << "message " << n;
    EXPECT_EQ(size, std::filesystem::file_size(files[n - 1])) << files[n - 1];
  }

  CPop3Text header;
  ASSERT_TRUE(client.GetMessageHeader(2, header)) << client.LastReply();
  EXPECT_EQ(header.Text(), HeaderOf(kMessages[1]));
  EXPECT_EQ(header.HeaderField("subject"), "Nightly build 1842 failed on the arm64 runner after 41 minutes");

  // The terminating "\r\n.\r\n" takes the message's own last line end with it.
  CPop3Text whole;
  ASSERT_TRUE(client.Retrieve(3, whole)) << client.LastReply();
  EXPECT_EQ(whole.Text() + "\r\n", kMessages[2]);
  EXPECT_TRUE(client.Disconnect()) << client.LastReply();
}

TEST_F(Pop3DovecotTest, DeleteTakesEffectAtQuit) {
  ASSERT_TRUE(LogIn()) << client.LastReply() << server.LogText();
  ASSERT_TRUE(client.Delete(2)) << client.LastReply();
  ASSERT_TRUE(client.Disconnect()) << client.LastReply();

  ASSERT_TRUE(LogIn()) << client.LastReply();
  int count = 0;
  int total = 0;
  ASSERT_TRUE(client.Statistics(count, total)) << client.LastReply();
  EXPECT_EQ(count, 2);
  CPop3Text header;
  ASSERT_TRUE(client.GetMessageHeader(2, header)) << client.LastReply();
  EXPECT_EQ(header.Text(), HeaderOf(kMessages[2]));
  EXPECT_TRUE(client.Disconnect());
  EXPECT_EQ(server.MessageFiles(kUser).size(), 2u);
}

TEST_F(Pop3DovecotTest, WrongPasswordFailsWithDovecotsReply) {
  EXPECT_FALSE(LogIn("not the password"));
  EXPECT_FALSE(client.IsConnected());
  EXPECT_THAT(client.LastReply(), StartsWith("-ERR"));
  EXPECT_THAT(client.LastReply(), HasSubstr("Authentication failed"));

  // The failure leaves nothing behind that blocks the right password.
  EXPECT_TRUE(LogIn()) << client.LastReply();
}

}  // namespace
}  // namespace larkspin
