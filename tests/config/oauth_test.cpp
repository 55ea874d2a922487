#include <gtest/gtest.h>

#include <atomic>

#include "config/oauth_access.h"
#include "config/oauth_endpoint.h"
#include "config/oauth_settings.h"
#include "config/oauth_sign_in.h"
#include "config/oauth_token_store.h"
#include "platform/loopback_redirect.h"
#include "platform/pkce.h"
#include "support/consent_browser.h"
#include "support/fake_http_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::FakeHttpServer;
using test_support::HttpAnswer;
using test_support::HttpExchange;
using test_support::ReadFile;
using test_support::ScopedWorkingDirectory;
using test_support::TempFolder;
using test_support::WriteFile;

TEST(OAuthSettingsTest, ProvidersBringTheirEndpointsAndTheAccountsClientIdWins) {
  TempFolder folder;
  ScopedWorkingDirectory here(folder.Path());
  WriteFile("config.ini",
            "[System]\nOAuthClientId=system-id\nOAuthClientSecret=system-secret\n"
            "[Account1]\nPOP3Auth=oauth2\nOAuthProvider=Google\n"
            "[Account2]\nOAuthProvider=microsoft\nOAuthClientId=own-id\nOAuthTwoLine=1\nOAuthMechanism=OAUTHBEARER\n"
            "[Account3]\nOAuthProvider=Custom\nOAuthTokenURL=http://127.0.0.1:9/t\nOAuthScopes=a b\n"
            "[Account4]\nOAuthProvider=Yahoo\n");
  const OAuthSettings google = ReadOAuthSettings("Account1");
  EXPECT_EQ(google.token_url, "https://oauth2.googleapis.com/token");
  EXPECT_EQ(google.scopes, "https://mail.google.com/");
  EXPECT_TRUE(google.device_url.empty());
  EXPECT_EQ(google.client_id, "system-id");
  EXPECT_TRUE(Pop3UsesOAuth("Account1"));
  const OAuthSettings microsoft = ReadOAuthSettings("Account2");
  EXPECT_EQ(microsoft.device_url, "https://login.microsoftonline.com/common/oauth2/v2.0/devicecode");
  EXPECT_NE(microsoft.scopes.find("offline_access"), std::string::npos);
  EXPECT_EQ(microsoft.client_id, "own-id");
  EXPECT_EQ(microsoft.client_secret, "system-secret");
  EXPECT_TRUE(microsoft.two_line);
  EXPECT_EQ(microsoft.mechanism, "OAUTHBEARER");
  EXPECT_FALSE(Pop3UsesOAuth("Account2"));
  const OAuthSettings custom = ReadOAuthSettings("Account3");
  EXPECT_EQ(custom.token_url, "http://127.0.0.1:9/t");
  EXPECT_EQ(custom.scopes, "a b");
  EXPECT_EQ(custom.Problem(), "");
  EXPECT_NE(ReadOAuthSettings("Account4").Problem(), "");
}

TEST(OAuthEndpointTest, TokenRepliesAreReadByTheirError) {
  const struct {
    long status;
    const char* body;
    TokenOutcome outcome;
    const char* problem_part;
  } cases[] = {
      {200, R"({"access_token":"at","expires_in":"120","refresh_token":"rt"})", TokenOutcome::kGranted, ""},
      {400, R"({"error":"authorization_pending"})", TokenOutcome::kPending, "authorization_pending"},
      {400, R"({"error":"slow_down"})", TokenOutcome::kSlowDown, "slow_down"},
      {400, R"({"error":"expired_token"})", TokenOutcome::kExpired, "expired_token"},
      {400, R"({"error":"invalid_grant","error_description":"Token has been revoked."})", TokenOutcome::kSignInAgain,
       "invalid_grant: Token has been revoked."},
      {500, "<html>oops</html>", TokenOutcome::kFailed, "not a JSON object"},
      {200, R"({"token_type":"Bearer"})", TokenOutcome::kFailed, "no reason given"},
  };
  for (const auto& c : cases) {
    const TokenReply reply = ReadTokenReply({true, c.status, c.body, {}});
    EXPECT_EQ(reply.outcome, c.outcome) << c.body;
    EXPECT_NE(reply.problem.find(c.problem_part), std::string::npos) << reply.problem;
  }
  const TokenReply granted = ReadTokenReply({true, 200, cases[0].body, {}});
  EXPECT_EQ(granted.access_token, "at");
  EXPECT_EQ(granted.refresh_token, "rt");
  EXPECT_EQ(granted.expires_in, 120);
}

// A token endpoint that grants "access-N" for the refresh token "good" and revokes any other.
class OAuthAccessTest : public ::testing::Test {
 protected:
  void SetUp() override { ForgetAccessTokens(); }
  void WriteConfig(const std::string& system) {
    WriteFile("config.ini", "[System]\n" + system + "\n[Account1]\nPOP3Host=pop.example\nMailAddress=anna@example.org\n"
                            "OAuthProvider=Custom\nOAuthClientId=id\nOAuthTokenURL=" + server_.Url("/token") + "\n");
  }
  TempFolder folder_;
  ScopedWorkingDirectory here_{folder_.Path()};
  std::atomic<int> grants_{0};
  long expires_in_ = 3600;
  std::string rotated_;
  FakeHttpServer server_{[this](const HttpExchange& exchange) {
    if (exchange.form.at("refresh_token") != "good" && exchange.form.at("refresh_token") != rotated_)
      return HttpAnswer{400, R"({"error":"invalid_grant","error_description":"Token has been expired or revoked."})"};
    return HttpAnswer{200, "{\"access_token\":\"access-" + std::to_string(++grants_) + "\",\"expires_in\":" +
                               std::to_string(expires_in_) + (rotated_.empty() ? "" : ",\"refresh_token\":\"" + rotated_ + "\"") + "}"};
  }};
  CHttpClient http_;
};

TEST_F(OAuthAccessTest, TokensAreHeldUntilTheyNearTheirExpiryOrAreRenewed) {
  WriteConfig("");
  ASSERT_EQ(RememberRefreshToken("Account1", "good"), "");
  const struct {
    long expires_in;
    bool renew;
    const char* second;
  } cases[] = {{3600, false, "access-1"}, {30, false, "access-2"}, {3600, true, "access-2"}};
  for (const auto& c : cases) {
    ForgetAccessTokens();
    grants_ = 0;
    expires_in_ = c.expires_in;
    EXPECT_EQ(AccessTokenOf("Account1", http_, false).token, "access-1");
    EXPECT_EQ(AccessTokenOf("Account1", http_, c.renew).token, c.second) << c.expires_in << c.renew;
  }
}

TEST_F(OAuthAccessTest, ARevokedOrMissingRefreshTokenAsksToSignInAgain) {
  WriteConfig("");
  const AccessToken missing = AccessTokenOf("Account1", http_, false);
  EXPECT_TRUE(missing.sign_in_again);
  ASSERT_EQ(RememberRefreshToken("Account1", "revoked"), "");
  const AccessToken revoked = AccessTokenOf("Account1", http_, false);
  EXPECT_FALSE(revoked.ok);
  EXPECT_TRUE(revoked.sign_in_again);
  EXPECT_NE(revoked.problem.find("Token has been expired or revoked."), std::string::npos) << revoked.problem;
  EXPECT_EQ(ReadFile("larkspin.log").find("revoked\n"), std::string::npos);  // the token itself is never logged
}

TEST_F(OAuthAccessTest, ARotatedRefreshTokenReplacesTheStoredOne) {
  WriteConfig("");
  ASSERT_EQ(RememberRefreshToken("Account1", "good"), "");
  rotated_ = std::string(1000, 'r');
  ASSERT_TRUE(AccessTokenOf("Account1", http_, false).ok);
  EXPECT_EQ(ReadRefreshToken("Account1").password, rotated_);
}

TEST(OAuthTokenStoreTest, ALongTokenSurvivesTheFileScrambledAndWhole) {
  TempFolder folder;
  ScopedWorkingDirectory here(folder.Path());
  WriteFile("config.ini", "[Account1]\nPOP3Host=pop.example\nMailAddress=anna@example.org\n[Account2]\nPOP3Host=x\n");
  std::string token;
  for (int i = 0; i < 1100; ++i) token += static_cast<char>('!' + i % 90);
  ASSERT_EQ(RememberRefreshToken("Account1", token), "");
  const std::string file = ReadFile("config.ini");
  EXPECT_EQ(file.find(token.substr(0, 20)), std::string::npos);
  EXPECT_NE(file.find("[Account2]\nPOP3Host=x\n"), std::string::npos);
  EXPECT_EQ(ReadRefreshToken("Account1").password, token);
  EXPECT_EQ(ReadRefreshToken("Account2").result, StoredPasswordResult::kNotStored);
  EXPECT_EQ(OAuthLogin("Account1"), "anna@example.org");
}

}  // namespace
}  // namespace larkspin

namespace larkspin {
namespace {

// A device endpoint and a token endpoint that answers the polls from a script.
class DeviceFlowTest : public ::testing::Test {
 protected:
  void WriteConfig() {
    WriteFile("config.ini", "[Account1]\nPOP3Host=pop.example\nMailAddress=anna@example.org\nOAuthProvider=Custom\n"
                            "OAuthClientId=id\nOAuthTokenURL=" + server_.Url("/token") + "\nOAuthDeviceURL=" +
                            server_.Url("/device") + "\nOAuthScopes=mail offline_access\n");
  }
  SignInResult SignIn() {
    return SignInByDevice("Account1", http_, [this](const std::string& code, const std::string& uri) { shown_ = code + " " + uri; },
                          [this](std::chrono::seconds s) { waits_.push_back(static_cast<int>(s.count())); });
  }
  TempFolder folder_;
  ScopedWorkingDirectory here_{folder_.Path()};
  std::vector<std::string> polls_;  // the errors, then the grant
  size_t next_ = 0;
  std::string shown_;
  std::vector<int> waits_;
  FakeHttpServer server_{[this](const HttpExchange& exchange) {
    if (exchange.path == "/device")
      return HttpAnswer{200, R"({"device_code":"dc","user_code":"WDJB-MJHT","verification_uri":"https://x.example/device","interval":2,"expires_in":20})"};
    const std::string next = next_ < polls_.size() ? polls_[next_++] : "authorization_pending";
    if (next == "granted") return HttpAnswer{200, R"({"access_token":"at","refresh_token":"device-refresh","expires_in":3600})"};
    return HttpAnswer{400, "{\"error\":\"" + next + "\"}"};
  }};
  CHttpClient http_;
};

TEST_F(DeviceFlowTest, PollsAtTheIntervalSlowsDownOnRequestAndStoresTheRefreshToken) {
  WriteConfig();
  polls_ = {"authorization_pending", "slow_down", "authorization_pending", "granted"};
  const SignInResult result = SignIn();
  ASSERT_TRUE(result.signed_in) << result.problem;
  EXPECT_EQ(shown_, "WDJB-MJHT https://x.example/device");
  EXPECT_EQ(waits_, (std::vector<int>{2, 2, 7, 7}));
  EXPECT_EQ(ReadRefreshToken("Account1").password, "device-refresh");
  const auto requests = server_.Requests();
  EXPECT_EQ(requests[0].form.at("scope"), "mail offline_access");
  EXPECT_EQ(requests[1].form.at("grant_type"), "urn:ietf:params:oauth:grant-type:device_code");
  EXPECT_EQ(requests[1].form.at("device_code"), "dc");
}

TEST_F(DeviceFlowTest, ARefusedOrExpiredCodeEndsWithoutAToken) {
  WriteConfig();
  const struct {
    std::vector<std::string> polls;
    const char* problem_part;
  } cases[] = {{{"expired_token"}, "expired_token"}, {{"access_denied"}, "access_denied"}, {{}, "ran out"}};
  for (const auto& c : cases) {
    polls_ = c.polls;
    next_ = 0;
    const SignInResult result = SignIn();
    EXPECT_FALSE(result.signed_in);
    EXPECT_NE(result.problem.find(c.problem_part), std::string::npos) << result.problem;
    EXPECT_EQ(ReadRefreshToken("Account1").result, StoredPasswordResult::kNotStored);
  }
}

}  // namespace
}  // namespace larkspin

namespace larkspin {
namespace {

TEST(PkceTest, TheChallengeIsTheBase64UrlOfTheVerifiersSha256) {
  // The example of RFC 7636, appendix B.
  EXPECT_EQ(PkceChallenge("dBjftJeZ4CVP-mB92K27uhbUJU1p1r_wW1gFWFOEjXk"), "E9Melhoa2OwvFrEMTJguCHaoeK1t8URWbuGJSstw-cM");
  EXPECT_EQ(RandomUrlToken().size(), 43u);
  EXPECT_NE(RandomUrlToken(), RandomUrlToken());
}

TEST(BrowserSignInTest, TheCodeIsRedeemedWithTheVerifierOfTheChallengeAndTheStateChecked) {
  TempFolder folder;
  ScopedWorkingDirectory here(folder.Path());
  std::string challenge;
  FakeHttpServer token_endpoint([&](const HttpExchange& exchange) {
    if (PkceChallenge(exchange.form.at("code_verifier")) != challenge || exchange.form.at("code") != "c0de")
      return HttpAnswer{400, R"({"error":"invalid_grant"})"};
    return HttpAnswer{200, R"({"access_token":"at","refresh_token":"browser-refresh","expires_in":3600})"};
  });
  WriteFile("config.ini", "[Account1]\nPOP3Host=pop.example\nMailAddress=anna@example.org\nOAuthProvider=Custom\n"
                          "OAuthClientId=id\nOAuthAuthorizeURL=https://auth.example/authorize\nOAuthTokenURL=" +
                              token_endpoint.Url("/token") + "\n");
  CHttpClient http;
  const struct {
    const char* query;
    bool foreign_state;
    bool signed_in;
    const char* problem_part;
  } cases[] = {{"error=access_denied", false, false, "access_denied"},
               {"code=c0de", true, false, "foreign state"},
               {"code=c0de", false, true, ""}};
  for (const auto& c : cases) {
    const SignInResult result = SignInByBrowser(
        "Account1", http,
        [&](const std::string& url) {
          challenge = QueryFields(url.substr(url.find('?') + 1)).at("code_challenge");
          test_support::ComeBackFromConsent(url, c.query, c.foreign_state);
          return url.rfind("https://auth.example/authorize?response_type=code&", 0) == 0;
        },
        5000);
    EXPECT_EQ(result.signed_in, c.signed_in) << c.query << ": " << result.problem;
    EXPECT_NE(result.problem.find(c.problem_part), std::string::npos) << result.problem;
  }
  EXPECT_EQ(ReadRefreshToken("Account1").password, "browser-refresh");
}

}  // namespace
}  // namespace larkspin
