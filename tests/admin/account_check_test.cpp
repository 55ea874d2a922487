// The account dialog's Test against a real Dovecot (plain and POP3S) and smtp-server: a working
// account, a wrong password, ports nobody listens on, and a certificate nobody vouches for; and
// an OAuth account's Test with and without a stored token, against a local token endpoint and
// the fake servers.
#include "admin/account_check.h"

#include <gmock/gmock.h>

#include <atomic>

#include "common/format.h"
#include "config/oauth_access.h"
#include "config/oauth_token_store.h"
#include "mime/sasl_oauth.h"
#include "support/dovecot_server.h"
#include "support/fake_http_server.h"
#include "support/fake_pop3_server.h"
#include "support/fake_smtp_server.h"
#include "support/npm_smtp_server.h"
#include "support/test_certificates.h"

namespace larkspin {
namespace {

using ::testing::HasSubstr;
using ::testing::MatchesRegex;

constexpr unsigned kTimeoutMs = 5000;

int ClosedPort() {
  test_support::FakePop3Server gone;
  return gone.Port();
}

struct CheckCase {
  const char* what;
  void (*adjust)(AccountSettings& settings, int pop3s_port, int closed_port);
  bool pop3_works;
  bool smtp_works;
  const char* line_pattern;  // the whole line, as a regular expression
};

void PrintTo(const CheckCase& c, std::ostream* out) { *out << c.what; }

class AccountCheckTest : public ::testing::TestWithParam<CheckCase> {
 protected:
  static void SetUpTestSuite() {
    folder_ = new test_support::TempFolder;
    certificates_ = new test_support::TestCertificates(folder_->Path(), "localhost");
    pop3_ = new test_support::DovecotServer;
    pop3_->EnableTls(certificates_->CertificateFile(), certificates_->KeyFile());
    pop3_->AddUser("anna", "secret");
    pop3_->AddMessage("anna", "From: Bob <bob@example.org>\r\nSubject: hi\r\n\r\nHi\r\n");
    pop3_->Start();
    smtp_ = new test_support::NpmSmtpServer("anna", "secret");
    smtp_->Start();
  }
  static void TearDownTestSuite() {
    delete smtp_;
    delete pop3_;
    delete certificates_;
    delete folder_;
  }

  static test_support::TempFolder* folder_;
  static test_support::TestCertificates* certificates_;
  static test_support::DovecotServer* pop3_;
  static test_support::NpmSmtpServer* smtp_;
};

test_support::TempFolder* AccountCheckTest::folder_ = nullptr;
test_support::TestCertificates* AccountCheckTest::certificates_ = nullptr;
test_support::DovecotServer* AccountCheckTest::pop3_ = nullptr;
test_support::NpmSmtpServer* AccountCheckTest::smtp_ = nullptr;

TEST_P(AccountCheckTest, SaysInOneLineWhatWorkedAndWhyNot) {
  const CheckCase& c = GetParam();
  test_support::TempFolder working;  // no config.ini: certificate checks on, no extra authority
  test_support::ScopedWorkingDirectory here(working.Path());
  AccountSettings settings;
  settings.pop3_host = "127.0.0.1";
  settings.pop3_port = pop3_->Port();
  settings.login = "anna";
  settings.password = "secret";
  settings.smtp_host = "127.0.0.1";
  settings.smtp_port = smtp_->Port();
  settings.authentication = "AuthLoginMethod";
  c.adjust(settings, pop3_->TlsPort(), ClosedPort());

  const AccountCheck check = CheckAccount(1, settings, kTimeoutMs);
  EXPECT_EQ(check.pop3_works, c.pop3_works);
  EXPECT_EQ(check.smtp_works, c.smtp_works);
  EXPECT_THAT(check.line, MatchesRegex(c.line_pattern));
  EXPECT_EQ(check.line.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, AccountCheckTest,
    ::testing::Values(
        CheckCase{"works", [](AccountSettings&, int, int) {}, true, true,
                  "POP3: logged in, 1 message; SMTP: greeted and logged in"},
        CheckCase{"wrong password", [](AccountSettings& s, int, int) {
                    s.password = "wrong";
                    s.authentication = "CramMD5Method";
                  },
                  false, false, "POP3: login refused: -ERR .*; SMTP: login refused: 535 .*"},
        CheckCase{"nobody listens", [](AccountSettings& s, int, int closed) { s.pop3_port = s.smtp_port = closed; },
                  false, false,
                  "POP3: Cannot connect to 127.0.0.1:[0-9]+: Connection refused; "
                  "SMTP: Cannot connect to 127.0.0.1:[0-9]+: Connection refused"},
        CheckCase{"untrusted certificate, no SMTP login", [](AccountSettings& s, int pop3s, int) {
                    s.pop3_host = "localhost";
                    s.pop3_port = pop3s;
                    s.pop3_security = TlsMode::kImplicit;
                    s.authentication = "NoLoginMethod";
                  },
                  false, true, "POP3: .*untrusted certificate.*; SMTP: greeted"}));

TEST(AccountCheckOAuthTest, SignsInWithAFreshTokenFromTheStoredOneOrSaysToSignInFirst) {
  using test_support::HttpAnswer;
  using test_support::Reply;
  std::atomic<int> refreshes{0};
  test_support::FakeHttpServer provider([&](const test_support::HttpExchange& exchange) {
    refreshes += exchange.form.count("refresh_token") ? 1 : 0;
    return HttpAnswer{200, R"({"access_token":"fresh-at","expires_in":3600})"};
  });
  test_support::FakePop3Server pop3;
  pop3.ServeMailbox({"Subject: hi\r\n\r\nbody\r\n"});
  pop3.On("CAPA", Reply("+OK\r\nSASL XOAUTH2\r\n.\r\n"));
  pop3.On("AUTH XOAUTH2 " + SaslOAuthResponse("XOAUTH2", "anna@example.org", "fresh-at"), Reply("+OK in\r\n"));
  test_support::FakeSmtpServer smtp;
  smtp.AcceptMail();
  smtp.On("EHLO", Reply("250-fake\r\n250 AUTH XOAUTH2\r\n"));
  smtp.On("AUTH XOAUTH2 " + SaslOAuthResponse("XOAUTH2", "anna@example.org", "fresh-at"), Reply("235 in\r\n"));
  const struct {
    const char* stored;  // the refresh token, "" for none
    int refreshes;
    const char* line_pattern;
  } cases[] = {
      {"", 0, "POP3: not signed in: no refresh token is stored; sign in again.*; SMTP: not signed in: no refresh token .*"},
      {"rt", 1, "POP3: signed in with the stored token, 1 message; SMTP: greeted and signed in with the stored token"},
  };
  for (const auto& c : cases) {
    test_support::TempFolder working;
    test_support::ScopedWorkingDirectory here(working.Path());
    test_support::WriteFile("config.ini", "[Account1]\nMailAddress=anna@example.org\nPOP3Auth=OAuth2\n"
                                          "OAuthProvider=Custom\nOAuthClientId=id\nOAuthTokenURL=" +
                                              provider.Url("/token") + "\n");
    if (*c.stored) {
      ASSERT_EQ(RememberRefreshToken("Account1", c.stored), "");
    }
    ForgetAccessTokens();
    refreshes = 0;
    AccountSettings settings;
    settings.pop3_oauth = true;
    settings.pop3_host = settings.smtp_host = "127.0.0.1";
    settings.pop3_port = pop3.Port();
    settings.smtp_port = smtp.Port();
    settings.authentication = "OAuth2Method";
    const AccountCheck check = CheckAccount(1, settings, kTimeoutMs);
    EXPECT_THAT(check.line, MatchesRegex(c.line_pattern));
    EXPECT_EQ(refreshes, c.refreshes) << "the Test renews the token once, SMTP uses it as well";
  }
}

}  // namespace
}  // namespace larkspin
