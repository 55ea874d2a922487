// "larkspin sign-in" by the device flow and "larkspin peek" of an OAuth account, against a local
// token endpoint and the fake POP3 server; no token may reach the output or the log.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli_runner.h"
#include "config/oauth_token_store.h"
#include "mime/sasl_oauth.h"
#include "support/fake_http_server.h"
#include "support/fake_pop3_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::CliRun;
using test_support::FakeHttpServer;
using test_support::FakePop3Server;
using test_support::HttpAnswer;
using test_support::HttpExchange;
using test_support::ReadFile;
using test_support::Reply;
using test_support::RunLarkspin;
using ::testing::HasSubstr;

const char kAccessToken[] = "ya29.access-token-of-the-test";
const char kRefreshToken[] = "1//refresh-token-of-the-test";

class OAuthCliTest : public ::testing::Test {
 protected:
  void Configure(int pop3_port) {
    test_support::WriteFile(folder_.File("config.ini"),
                            "[System]\nAccounts=1\nTimeOut=5\n[Users]\nAccount1=Box 1\n[Account1]\nPOP3Host=127.0.0.1\n"
                            "POP3Port=" + std::to_string(pop3_port) + "\nMailAddress=anna@example.org\nPOP3Auth=OAuth2\n"
                            "OAuthProvider=Custom\nOAuthClientId=larkspin-test\nOAuthTokenURL=" + provider_.Url("/token") +
                            "\nOAuthDeviceURL=" + provider_.Url("/device") + "\n");
  }
  void StoreRefreshToken(const std::string& token) {
    test_support::ScopedWorkingDirectory here(folder_.Path());
    ASSERT_EQ(RememberRefreshToken("Account1", token), "");
  }
  // Neither token in what the run printed or logged.
  void ExpectNoToken(const CliRun& run) {
    const std::string log = ReadFile(folder_.File("larkspin.log"));
    for (const char* token : {kAccessToken, kRefreshToken}) {
      EXPECT_THAT(run.out + run.err + log, ::testing::Not(HasSubstr(token)));
    }
  }

  test_support::TempFolder folder_;
  int polls_ = 0;
  FakeHttpServer provider_{[this](const HttpExchange& exchange) {
    if (exchange.path == "/device")
      return HttpAnswer{200, R"({"device_code":"dc","user_code":"ABCD-EFGH","verification_uri":"https://example.org/device","interval":1})"};
    if (exchange.form.count("device_code") && ++polls_ < 2) return HttpAnswer{400, R"({"error":"authorization_pending"})"};
    if (exchange.form.count("refresh_token") && exchange.form.at("refresh_token") != kRefreshToken)
      return HttpAnswer{400, R"({"error":"invalid_grant","error_description":"Token has been expired or revoked."})"};
    return HttpAnswer{200, std::string(R"({"access_token":")") + kAccessToken + R"(","expires_in":3600,"refresh_token":")" +
                               kRefreshToken + "\"}"};
  }};
};

TEST_F(OAuthCliTest, SignInByTheDeviceFlowStoresTheRefreshToken) {
  Configure(1);
  const CliRun run = RunLarkspin(folder_.Path(), {"sign-in", "--account", "1"});
  EXPECT_EQ(run.exit_status, 0) << run.err;
  EXPECT_THAT(run.out, HasSubstr("open https://example.org/device and enter the code ABCD-EFGH"));
  EXPECT_EQ(polls_, 2);
  test_support::ScopedWorkingDirectory here(folder_.Path());
  EXPECT_EQ(ReadRefreshToken("Account1").password, kRefreshToken);
  ExpectNoToken(run);
}

TEST_F(OAuthCliTest, PeekSignsInWithTheStoredTokenOrAsksToSignInAgain) {
  FakePop3Server server;
  server.ServeMailbox({"Subject: hi\r\n\r\nbody\r\n"});
  server.On("CAPA", Reply("+OK\r\nSASL XOAUTH2\r\n.\r\n"));
  server.On("AUTH XOAUTH2 " + SaslOAuthResponse("XOAUTH2", "anna@example.org", kAccessToken), Reply("+OK in\r\n"));
  Configure(server.Port());
  const struct {
    const char* stored;
    int exit_status;
    const char* err_part;
  } cases[] = {{kRefreshToken, 0, ""}, {"revoked-one", 1, "Token has been expired or revoked.; sign in again"}};
  for (const auto& c : cases) {
    StoreRefreshToken(c.stored);
    const CliRun run = RunLarkspin(folder_.Path(), {"peek", "--account", "1"});
    EXPECT_EQ(run.exit_status, c.exit_status) << run.err;
    EXPECT_THAT(run.err, HasSubstr(c.err_part));
    ExpectNoToken(run);
  }
  EXPECT_THAT(server.ReceivedLines(), ::testing::Contains(HasSubstr("TOP 1 0")));
}

TEST_F(OAuthCliTest, WrongArgumentsAreAUsageError) {
  Configure(1);
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"sign-in"}, {"sign-in", "--account", "x"}, {"sign-in", "--all"}})
    EXPECT_EQ(RunLarkspin(folder_.Path(), arguments).exit_status, 2);
  EXPECT_EQ(RunLarkspin(folder_.Path(), {"sign-in", "--account", "7"}).exit_status, 1);
}

}  // namespace
}  // namespace larkspin
