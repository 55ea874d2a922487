// OAuth 2.0 from sign-in to mail: the local authorization server signs the user in (the test's
// "browser" follows its redirect back to the loopback listener) and issues JWTs that a real
// Dovecot with an oauth2 passdb accepts; peeks and a send through npm smtp-server use them. No
// access or refresh token may reach standard output, standard error or larkspin.log.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <thread>

#include "cli_runner.h"
#include "common/scramble.h"
#include "config/oauth_access.h"
#include "config/oauth_token_store.h"
#include "platform/private_profile.h"
#include "pop3/pop3_client.h"
#include "support/authorization_server.h"
#include "support/dovecot_server.h"
#include "support/npm_smtp_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::CliRun;
using test_support::ReadFile;
using test_support::RunLarkspin;
using ::testing::HasSubstr;
using ::testing::Not;

const char kUser[] = "anna";
const char kSecret[] = "secret shared by Dovecot and the provider";

// Occurrences of part in text.
int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class OAuthEndToEndTest : public ::testing::Test {
 protected:
  // One account that signs in to Dovecot (and smtp-server) with the provider's tokens; the
  // Dovecot-side auth failure delay needs a time-out well above 10 s.
  OAuthEndToEndTest() {
    dovecot_.AddUser(kUser, "a password no test uses");
    dovecot_.AddMessage(kUser, "From: Ben <ben@example.org>\r\nSubject: Quarterly figures\r\n\r\nAttached.\r\n");
    dovecot_.EnableOAuth(kSecret);
    dovecot_.Start();
    test_support::WriteFile(
        config_, "[System]\nAccounts=1\nTimeOut=30\n[Users]\nAccount1=Box 1\n[Account1]\nPOP3Host=127.0.0.1\nPOP3Port=" +
                     std::to_string(dovecot_.Port()) + "\nPOP3Account=" + Scrambled(kUser) +
                     "\nMailAddress=anna@example.org\nFullName=Anna\nPOP3Auth=OAuth2\nOAuthProvider=Custom\n"
                     "OAuthClientId=larkspin-test\nOAuthAuthorizeURL=" + provider_.Url("/authorize") +
                     "\nOAuthTokenURL=" + provider_.Url("/token") + "\nOAuthScopes=mail offline_access\n");
  }

  void Set(const char* key, const std::string& value) { ASSERT_TRUE(WriteProfileString(config_, "Account1", key, value)); }
  void StoreRefreshToken() {
    test_support::ScopedWorkingDirectory here(folder_.Path());
    ASSERT_EQ(RememberRefreshToken("Account1", provider_.GrantRefreshToken()), "");
  }
  CliRun Run(const std::vector<std::string>& arguments, const std::string& input = "") {
    runs_.push_back(RunLarkspin(folder_.Path(), arguments, input));
    return runs_.back();
  }
  // No token the provider issued in anything a run printed or logged.
  void ExpectNoTokenShown() {
    const std::vector<std::string> tokens = provider_.IssuedTokens();
    ASSERT_FALSE(tokens.empty());
    std::string shown = ReadFile(folder_.File("larkspin.log"));
    for (const CliRun& run : runs_) shown += run.out + run.err;
    for (const std::string& token : tokens) EXPECT_THAT(shown, Not(HasSubstr(token)));
  }

  test_support::TempFolder folder_;
  const std::string config_ = folder_.File("config.ini");
  test_support::AuthorizationServer provider_{kUser, kSecret};
  test_support::DovecotServer dovecot_;
  std::vector<CliRun> runs_;
};

// The desktop's opener for the sign-in: a "browser" that loads the consent page and follows its
// redirect, found first on PATH while the object lives.
class ScopedBrowser {
 public:
  explicit ScopedBrowser(const test_support::TempFolder& folder) : page_(folder.File("page.html")) {
    const std::string bin = folder.File("bin");
    ::mkdir(bin.c_str(), 0755);
    test_support::WriteFile(bin + "/xdg-open", "#!/bin/sh\nexec curl -s -L --max-time 20 -o '" + page_ + "' \"$1\"\n");
    ::chmod((bin + "/xdg-open").c_str(), 0755);
    ::setenv("PATH", (bin + ":" + path_).c_str(), 1);
  }
  ~ScopedBrowser() { ::setenv("PATH", path_.c_str(), 1); }
  // The page the browser ended on.
  std::string Page() const { return ReadFile(page_); }

 private:
  const std::string path_ = std::getenv("PATH");
  const std::string page_;
};

TEST_F(OAuthEndToEndTest, SignInByTheBrowserThenPeekWithEachMechanismAndForm) {
  {
    const ScopedBrowser browser(folder_);
    const CliRun sign_in = Run({"sign-in", "--account", "1"});
    ASSERT_EQ(sign_in.exit_status, 0) << sign_in.err;
    EXPECT_THAT(browser.Page(), HasSubstr("You can close this tab"));
  }
  const struct {
    const char* mechanism;
    const char* two_line;
    const char* login_method;  // as Dovecot logs the login; empty: no login
    const char* err_part;
  } cases[] = {
      {"", "0", "XOAUTH2", ""},
      {"", "1", "XOAUTH2", ""},
      {"oauthbearer", "0", "OAUTHBEARER", ""},
      {"XOAUTH3", "0", "", "Unknown OAuth mechanism \"XOAUTH3\""},
  };
  for (const auto& c : cases) {
    Set("OAuthMechanism", c.mechanism);
    Set("OAuthTwoLine", c.two_line);
    const std::string login = std::string("Login: user=<anna>, method=") + c.login_method + ",";
    const int logins = CountOf(dovecot_.LogText(), "Login: user=<anna>");
    const CliRun peek = Run({"peek", "--account", "1"});
    EXPECT_EQ(peek.exit_status, *c.login_method ? 0 : 1) << peek.err;
    EXPECT_THAT(peek.err, HasSubstr(c.err_part));
    EXPECT_EQ(CountOf(dovecot_.LogText(), "Login: user=<anna>"), logins + (*c.login_method ? 1 : 0)) << c.mechanism;
    if (*c.login_method) {
      EXPECT_THAT(peek.out, HasSubstr("Quarterly figures"));
      EXPECT_THAT(dovecot_.LogText(), HasSubstr(login));
    }
  }
  ExpectNoTokenShown();
}

TEST_F(OAuthEndToEndTest, ATokenThatRunsOutBetweenTwoPeeksIsRenewed) {
  StoreRefreshToken();
  test_support::ScopedWorkingDirectory here(folder_.Path());
  const struct {
    long real_lifetime;
    long told_lifetime;
    bool refused_by_dovecot;
  } cases[] = {
      {62, 62, false},   // comes within a minute of its end: renewed before it is used
      {2, 3600, true},   // runs out earlier than told: Dovecot refuses it, a new one is fetched
  };
  for (const auto& c : cases) {
    ForgetAccessTokens();
    provider_.SetAccessLifetime(c.real_lifetime, c.told_lifetime);
    const int grants = provider_.AccessTokenCount();
    const int refusals = CountOf(dovecot_.LogText(), "Token has expired");
    CHttpClient http;
    for (int peek = 0; peek < 2; ++peek) {
      if (peek == 1) std::this_thread::sleep_for(std::chrono::milliseconds(3500));
      CPop3Client client;
      client.read_timeout_ms = 20000;
      ASSERT_TRUE(client.ConnectWithOAuth("127.0.0.1", "Account1", dovecot_.Port(), http)) << client.LastReply();
      int count = 0;
      int size = 0;
      EXPECT_TRUE(client.Statistics(count, size));
      EXPECT_EQ(count, 1);
      client.Disconnect();
    }
    EXPECT_EQ(provider_.AccessTokenCount(), grants + 2) << c.real_lifetime;
    EXPECT_EQ(CountOf(dovecot_.LogText(), "Token has expired"), refusals + (c.refused_by_dovecot ? 1 : 0))
        << dovecot_.LogText();
  }
}

TEST_F(OAuthEndToEndTest, SignInByTheDeviceFlowThenARevokedRefreshTokenAsksToSignInAgain) {
  Set("OAuthDeviceURL", provider_.Url("/device"));
  const CliRun sign_in = Run({"sign-in", "--account", "1"});
  ASSERT_EQ(sign_in.exit_status, 0) << sign_in.err;
  EXPECT_THAT(sign_in.out, HasSubstr("enter the code WDJB-MJHT"));
  EXPECT_EQ(Run({"peek", "--account", "1"}).exit_status, 0) << runs_.back().err;
  provider_.RevokeRefreshTokens();
  const int logins = CountOf(dovecot_.LogText(), "Login:");
  const CliRun peek = Run({"peek", "--account", "1"});
  EXPECT_EQ(peek.exit_status, 1);
  EXPECT_THAT(peek.err, HasSubstr(std::string(test_support::kRevokedDescription) + "; sign in again"));
  EXPECT_EQ(CountOf(dovecot_.LogText(), "Login:"), logins);
  ExpectNoTokenShown();
}

TEST_F(OAuthEndToEndTest, SendsThroughSmtpServerWithXoauth2) {
  test_support::NpmSmtpServer smtp(kUser, "unused");
  smtp.EnableXoauth2();
  smtp.Start();
  Set("SMTPHost", "127.0.0.1");
  Set("SMTPPort", std::to_string(smtp.Port()));
  Set("Authentication", "OAuth2Method");
  StoreRefreshToken();
  const CliRun send = Run({"send", "--account", "1", "--to", "ben@example.org", "--subject", "Figures"}, "Thanks.\n");
  ASSERT_EQ(send.exit_status, 0) << send.err;
  ASSERT_TRUE(smtp.WaitForMessages(1, 10000));
  EXPECT_THAT(ReadFile(smtp.MessageFiles()[0]), HasSubstr("Subject: Figures"));
  const std::vector<std::string> issued = provider_.IssuedTokens();
  EXPECT_THAT(smtp.AccessTokensSeen(), ::testing::ElementsAre(issued.back()));
  ExpectNoTokenShown();
}

}  // namespace
}  // namespace larkspin
