// AUTH XOAUTH2 and OAUTHBEARER after EHLO against the scriptable fake server.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "mime/base64.h"
#include "mime/sasl_oauth.h"
#include "smtp/smtp_connection.h"
#include "support/fake_smtp_server.h"

namespace larkspin {
namespace {

using ::testing::ElementsAreArray;
using test_support::FakeSmtpServer;
using test_support::Reply;

std::string Response(const char* mechanism, const std::string& token) {
  return SaslOAuthResponse(mechanism, "anna@example.org", token);
}

TEST(SmtpOAuthTest, TheMechanismAndTheFormFollowEhloLengthAndSettings) {
  const std::string long_token(300, 'L');
  const struct {
    const char* auth_line;
    std::string token;
    const char* forced;
    bool two_line;
    std::vector<std::string> lines;
  } cases[] = {
      {"AUTH XOAUTH2 OAUTHBEARER", "t", "", false, {"AUTH XOAUTH2 " + Response("XOAUTH2", "t")}},
      {"AUTH PLAIN OAUTHBEARER", "t", "", false, {"AUTH OAUTHBEARER " + Response("OAUTHBEARER", "t")}},
      {"AUTH XOAUTH2", "t", "", true, {"AUTH XOAUTH2", Response("XOAUTH2", "t")}},
      {"AUTH XOAUTH2", long_token, "", false, {"AUTH XOAUTH2", Response("XOAUTH2", long_token)}},
      {"AUTH XOAUTH2", "t", "oauthbearer", false, {"AUTH OAUTHBEARER " + Response("OAUTHBEARER", "t")}},
      // Mechanisms are whole words of the AUTH line, in either of its forms.
      {"AUTH PLAIN XOAUTH2X OAUTHBEARER", "t", "", false, {"AUTH OAUTHBEARER " + Response("OAUTHBEARER", "t")}},
      {"AUTH=LOGIN oauthbearer", "t", "", false, {"AUTH OAUTHBEARER " + Response("OAUTHBEARER", "t")}},
      {"AUTH LOGIN X-OAUTHBEARER", "t", "", false, {"AUTH XOAUTH2 " + Response("XOAUTH2", "t")}},
  };
  for (const auto& c : cases) {
    FakeSmtpServer server;
    server.AcceptMail();
    server.On("EHLO", Reply(std::string("250-fake\r\n250 ") + c.auth_line + "\r\n"));
    server.On("AUTH", Reply(c.lines.size() == 1 ? "235 2.7.0 Accepted\r\n" : "334 \r\n"));
    server.On(c.lines.back(), Reply("235 2.7.0 Accepted\r\n"));
    CSMTPConnection connection;
    connection.oauth_mechanism = c.forced;
    connection.oauth_two_line = c.two_line;
    ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthOAuth2, "anna@example.org", c.token, server.Port()))
        << connection.LastReplyText();
    connection.Disconnect(true);
    std::vector<std::string> expected = {"EHLO " + connection.HeloName()};
    expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    expected.push_back("QUIT");
    EXPECT_THAT(server.ReceivedLines(), ElementsAreArray(expected)) << c.auth_line;
  }
}

TEST(SmtpOAuthTest, AnErrorChallengeIsAnsweredAndItsStatusReported) {
  const std::string challenge = Base64Codec().Encode(R"({"status":"400","schemes":"Bearer"})");
  const struct {
    const char* mechanism;
    const char* answer;
  } cases[] = {{"XOAUTH2", ""}, {"OAUTHBEARER", "AQ=="}};
  for (const auto& c : cases) {
    FakeSmtpServer server;
    server.On(c.answer, Reply("535 5.7.8 Username and Password not accepted\r\n"));
    server.AcceptMail();
    server.On("EHLO", Reply(std::string("250-fake\r\n250 AUTH ") + c.mechanism + "\r\n"));
    server.On("AUTH", Reply("334 " + challenge + "\r\n"));
    CSMTPConnection connection;
    EXPECT_FALSE(connection.Connect("127.0.0.1", kAuthOAuth2, "anna@example.org", "secret-token", server.Port()));
    EXPECT_TRUE(connection.TokenRefused());
    EXPECT_NE(connection.LastReplyText().find("status 400"), std::string::npos) << connection.LastReplyText();
    EXPECT_EQ(connection.LastReplyText().find("secret-token"), std::string::npos);
    const std::vector<std::string> lines = server.ReceivedLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[2], c.answer);
  }
}

TEST(SmtpOAuthTest, AnUnknownForcedMechanismFailsBeforeAnythingIsSent) {
  FakeSmtpServer server;
  CSMTPConnection connection;
  connection.oauth_mechanism = "XOAUTH3";
  EXPECT_FALSE(connection.Connect("127.0.0.1", kAuthOAuth2, "anna@example.org", "t", server.Port()));
  EXPECT_NE(connection.LastReplyText().find("Unknown OAuth mechanism \"XOAUTH3\""), std::string::npos)
      << connection.LastReplyText();
  EXPECT_EQ(server.ConnectionCount(), 0);
}

}  // namespace
}  // namespace larkspin
