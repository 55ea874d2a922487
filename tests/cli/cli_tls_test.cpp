// The command line honours an account's encryption keys in config.ini: "larkspin peek" over
// POP3S from Dovecot and "larkspin send" over STARTTLS to smtp-server, both with the test's own
// certificate authority.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "common/format.h"
#include "common/scramble.h"
#include "support/dovecot_server.h"
#include "support/npm_smtp_server.h"
#include "support/test_certificates.h"

namespace larkspin {
namespace {

using ::testing::HasSubstr;

TEST(CliTlsTest, PeekAndSendUseTheAccountsSecurityKeys) {
  test_support::TempFolder folder;
  const test_support::TestCertificates certificates(folder.Path(), "localhost");
  test_support::DovecotServer pop3;
  pop3.EnableTls(certificates.CertificateFile(), certificates.KeyFile());
  pop3.AddUser("ann", "secret");
  pop3.AddMessage("ann", "From: Bob <bob@example.org>\r\nSubject: sealed letter\r\nDate: Tue, 8 Dec 2026 "
                         "09:00:00 +0100\r\n\r\nHi\r\n");
  pop3.Start();
  test_support::NpmSmtpServer smtp("ann", "secret");
  smtp.EnableTls(false, certificates.CertificateFile(), certificates.KeyFile());
  smtp.Start();
  test_support::WriteFile(
      folder.File("config.ini"),
      FormatText("[System]\r\nAccounts=1\r\nTimeOut=10\r\n[Users]\r\nAccount1=Box\r\n[Account1]\r\n"
                 "FullName=Ann Lee\r\nMailAddress=ann@example.org\r\nPOP3Host=localhost\r\nPOP3Port=%d\r\n"
                 "POP3Security=SSL\r\nSMTPHost=localhost\r\nSMTPPort=%d\r\nSMTPSecurity=STARTTLS\r\n"
                 "Authentication=AuthLoginMethod\r\nTLSCAFile=%s\r\n",
                 pop3.TlsPort(), smtp.Port(), certificates.AuthorityFile().c_str()) +
          "POP3Account=" + Scrambled("ann") + "\r\nPOP3Password=" + Scrambled("secret") + "\r\n");

  const test_support::CliRun peek = test_support::RunLarkspin(folder.Path(), {"peek", "--account", "1"});
  ASSERT_EQ(peek.exit_status, 0) << peek.err;
  EXPECT_THAT(peek.out, HasSubstr("sealed letter"));

  const test_support::CliRun send =
      test_support::RunLarkspin(folder.Path(), {"send", "--account", "1", "--to", "bob@example.org", "--subject", "reply"},
                           "Thanks\n");
  ASSERT_EQ(send.exit_status, 0) << send.err;
  EXPECT_TRUE(smtp.WaitForMessages(1, 5000));

  // Without the authority the same account is refused, with the reason.
  std::string config = test_support::ReadFile(folder.File("config.ini"));
  config.replace(config.find("TLSCAFile="), 10, "Unused=");
  test_support::WriteFile(folder.File("config.ini"), config);
  const test_support::CliRun refused = test_support::RunLarkspin(folder.Path(), {"peek", "--account", "1"});
  EXPECT_NE(refused.exit_status, 0);
  EXPECT_THAT(refused.out + refused.err, HasSubstr("untrusted certificate"));
}

}  // namespace
}  // namespace larkspin
