#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "config/oauth_access.h"
#include "config/oauth_token_store.h"
#include "mime/base64.h"
#include "mime/sasl_oauth.h"
#include "pop3/pop3_client.h"
#include "support/fake_http_server.h"
#include "support/fake_pop3_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using ::testing::ElementsAreArray;
using test_support::FakePop3Server;
using test_support::Reply;

std::string Xoauth2(const std::string& token) { return SaslOAuthResponse("XOAUTH2", "anna@example.org", token); }
std::string Bearer(const std::string& token) { return SaslOAuthResponse("OAUTHBEARER", "anna@example.org", token); }

TEST(SaslOAuthTest, ResponsesAndErrorStatusAreEncodedAsTheMechanismsWriteThem) {
  const Base64Codec codec;
  EXPECT_EQ(codec.DecodeText(SaslOAuthResponse("XOAUTH2", "a@b", "tok")), "user=a@b\x01" "auth=Bearer tok\x01\x01");
  EXPECT_EQ(codec.DecodeText(SaslOAuthResponse("OAUTHBEARER", "a,b=c", "tok")),
            "n,a=a=2Cb=3Dc,\x01" "auth=Bearer tok\x01\x01");
  EXPECT_EQ(SaslOAuthErrorStatus(codec.Encode(R"({"status":"401","schemes":"bearer","scope":"x"})")), "401");
  EXPECT_EQ(SaslOAuthErrorStatus(codec.Encode("no json")), "no json");
  EXPECT_EQ(SaslOAuthErrorAnswer("OAUTHBEARER"), "AQ==");
  EXPECT_EQ(SaslOAuthErrorAnswer("XOAUTH2"), "");
}

TEST(Pop3OAuthTest, TheMechanismAndTheFormOfTheInitialResponseFollowCapaAndLength) {
  const std::string long_token(300, 'L');
  const struct {
    const char* sasl;
    std::string token;
    const char* forced;
    bool two_line;
    std::vector<std::string> lines;
  } cases[] = {
      {"OAUTHBEARER XOAUTH2", "short", "", false, {"AUTH XOAUTH2 " + Xoauth2("short")}},
      {"PLAIN OAUTHBEARER", "short", "", false, {"AUTH OAUTHBEARER " + Bearer("short")}},
      {"PLAIN XOAUTH2X OAUTHBEARER", "short", "", false, {"AUTH OAUTHBEARER " + Bearer("short")}},
      {"XOAUTH2", "short", "", true, {"AUTH XOAUTH2", Xoauth2("short")}},
      {"XOAUTH2", long_token, "", false, {"AUTH XOAUTH2", Xoauth2(long_token)}},
      {"XOAUTH2 OAUTHBEARER", "short", "oauthbearer", false, {"AUTH OAUTHBEARER " + Bearer("short")}},
  };
  for (const auto& c : cases) {
    FakePop3Server server;
    server.On("CAPA", Reply(std::string("+OK\r\nSASL ") + c.sasl + "\r\n.\r\n"));
    server.On("AUTH", Reply(c.lines.size() == 1 ? "+OK signed in\r\n" : "+ \r\n"));
    server.On(c.lines.back(), Reply("+OK signed in\r\n"));
    server.On("QUIT", Reply("+OK bye\r\n"));
    CPop3Client client;
    ASSERT_TRUE(client.ConnectWithToken("127.0.0.1", {"anna@example.org", c.token, c.forced, c.two_line}, server.Port()))
        << client.LastReply();
    client.Disconnect();
    std::vector<std::string> expected = {"CAPA"};
    expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    expected.push_back("QUIT");
    EXPECT_THAT(server.ReceivedLines(), ElementsAreArray(expected)) << c.sasl;
  }
}

TEST(Pop3OAuthTest, AnErrorChallengeIsAnsweredAsTheMechanismAsksAndItsStatusReported) {
  const std::string challenge = Base64Codec().Encode(R"({"status":"invalid_token"})");
  const struct {
    const char* mechanism;
    const char* answer;
  } cases[] = {{"XOAUTH2", ""}, {"OAUTHBEARER", "AQ=="}};
  for (const auto& c : cases) {
    FakePop3Server server;
    // Oldest first: XOAUTH2's empty answer is a prefix of every line.
    server.On(c.answer, Reply("-ERR [AUTH] Authentication failed.\r\n"));
    server.On("CAPA", Reply(std::string("+OK\r\nSASL ") + c.mechanism + "\r\n.\r\n"));
    server.On("AUTH", Reply("+ " + challenge + "\r\n"));
    server.On("QUIT", Reply("+OK bye\r\n"));
    CPop3Client client;
    EXPECT_FALSE(client.ConnectWithToken("127.0.0.1", {"anna@example.org", "expired", "", false}, server.Port()));
    EXPECT_TRUE(client.TokenRefused());
    EXPECT_NE(client.LastReply().find("status invalid_token"), std::string::npos) << client.LastReply();
    EXPECT_EQ(client.LastReply().find("expired"), std::string::npos);  // never the token itself
    const std::vector<std::string> lines = server.ReceivedLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], c.answer);
    EXPECT_EQ(lines[3], "QUIT");
  }
}

TEST(Pop3OAuthTest, AServerWithoutAnOAuthMechanismGetsNoToken) {
  FakePop3Server server;
  server.On("CAPA", Reply("+OK\r\nSASL PLAIN LOGIN\r\n.\r\n"));
  server.On("QUIT", Reply("+OK bye\r\n"));
  CPop3Client client;
  EXPECT_FALSE(client.ConnectWithToken("127.0.0.1", {"anna@example.org", "t", "", false}, server.Port()));
  EXPECT_FALSE(client.TokenRefused());
  EXPECT_NE(client.LastReply().find("SASL PLAIN LOGIN"), std::string::npos) << client.LastReply();
  EXPECT_THAT(server.ReceivedLines(), ElementsAreArray({"CAPA", "QUIT"}));
}

TEST(Pop3OAuthTest, AnUnknownForcedMechanismFailsBeforeAnythingIsSent) {
  FakePop3Server server;
  CPop3Client client;
  EXPECT_FALSE(client.ConnectWithToken("127.0.0.1", {"anna@example.org", "t", "XOAUTH3", false}, server.Port()));
  EXPECT_NE(client.LastReply().find("Unknown OAuth mechanism \"XOAUTH3\""), std::string::npos) << client.LastReply();
  EXPECT_EQ(server.ConnectionCount(), 0);
}

TEST(Pop3OAuthTest, ARefusedTokenIsRenewedOnceAndTriedAgain) {
  test_support::TempFolder folder;
  test_support::ScopedWorkingDirectory here(folder.Path());
  int grants = 0;
  test_support::FakeHttpServer provider([&](const test_support::HttpExchange&) {
    return test_support::HttpAnswer{200, "{\"access_token\":\"tok-" + std::to_string(++grants) + "\",\"expires_in\":3600}"};
  });
  test_support::WriteFile("config.ini", "[Account1]\nMailAddress=anna@example.org\nPOP3Auth=OAuth2\nOAuthProvider=Custom\n"
                                        "OAuthClientId=id\nOAuthTokenURL=" + provider.Url("/token") + "\n");
  ASSERT_EQ(RememberRefreshToken("Account1", "refresh"), "");
  ForgetAccessTokens();
  FakePop3Server server;
  server.On("", Reply("-ERR [AUTH] Authentication failed.\r\n"));
  server.On("CAPA", Reply("+OK\r\nSASL XOAUTH2\r\n.\r\n"));
  server.On("AUTH XOAUTH2 " + Xoauth2("tok-1"), Reply("+ " + Base64Codec().Encode(R"({"status":"401"})") + "\r\n"));
  server.On("AUTH XOAUTH2 " + Xoauth2("tok-2"), Reply("+OK signed in\r\n"));
  server.On("QUIT", Reply("+OK bye\r\n"));
  CPop3Client client;
  CHttpClient http;
  ASSERT_TRUE(client.ConnectWithOAuth("127.0.0.1", "Account1", server.Port(), http)) << client.LastReply();
  EXPECT_EQ(server.ConnectionCount(), 2);
  EXPECT_EQ(grants, 2);
  // Once signed in, the held token serves the next connection without asking the provider.
  client.Disconnect();
  server.On("AUTH XOAUTH2 " + Xoauth2("tok-2"), Reply("+OK signed in\r\n"));
  ASSERT_TRUE(client.ConnectWithOAuth("127.0.0.1", "Account1", server.Port(), http)) << client.LastReply();
  EXPECT_EQ(grants, 2);
}

}  // namespace
}  // namespace larkspin
