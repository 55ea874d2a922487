// The account dialog's Test against a real Dovecot (plain and POP3S) and smtp-server: a working
// account, a wrong password, ports nobody listens on, and a certificate nobody vouches for.
#include "admin/account_check.h"

#include <gmock/gmock.h>

#include "common/format.h"
#include "support/dovecot_server.h"
#include "support/fake_pop3_server.h"
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

}  // namespace
}  // namespace larkspin
