// SMTP over TLS against npm smtp-server: SMTPS on one server, STARTTLS on another, with a
// certificate authority made by the test.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "config/log.h"
#include "smtp/smtp_connection.h"
#include "smtp/smtp_mail.h"
#include "support/fake_smtp_server.h"
#include "support/npm_smtp_server.h"
#include "support/test_certificates.h"

namespace larkspin {
namespace {

using test_support::NpmSmtpServer;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::string kUser = "ann";
const std::string kPassword = "s3cret";

class SmtpTlsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder = new test_support::TempFolder;
    certificates = new test_support::TestCertificates(folder->Path(), "localhost");
    implicit_server = StartServer(true);
    upgrading_server = StartServer(false);
  }
  static void TearDownTestSuite() {
    delete implicit_server;
    delete upgrading_server;
    delete certificates;
    delete folder;
  }
  static NpmSmtpServer* StartServer(bool implicit) {
    auto* server = new NpmSmtpServer(kUser, kPassword);
    server->EnableTls(implicit, certificates->CertificateFile(), certificates->KeyFile());
    server->Start();
    return server;
  }

  // Connects with the given settings and sends one short message.
  bool Send(const std::string& host, int port, TlsMode mode, int method, bool verify, bool trust_test_authority) {
    CSMTPConnection connection;
    connection.SetTimeout(10000);
    connection.tls.mode = mode;
    connection.tls.verify = verify;
    connection.tls.ca_file = trust_test_authority ? certificates->AuthorityFile() : "";
    const bool sent = connection.Connect(host, method, kUser, kPassword, port) && SendOne(connection) &&
                      connection.Disconnect(true);
    last_reply = connection.LastReplyText();
    return sent;
  }
  static bool SendOne(CSMTPConnection& connection) {
    CSMTPMail mail;
    mail.SetFrom(CSMTPRecipient("Ann", "ann@example.org"));
    mail.AddRecipient(CSMTPRecipient("", "bob@example.org"), kRecipientTo);
    mail.SetSubject("over TLS");
    mail.SetText("sealed");
    return connection.SendMessage(mail);
  }

  static test_support::TempFolder* folder;
  static test_support::TestCertificates* certificates;
  static NpmSmtpServer* implicit_server;
  static NpmSmtpServer* upgrading_server;
  std::string last_reply;
};

test_support::TempFolder* SmtpTlsTest::folder = nullptr;
test_support::TestCertificates* SmtpTlsTest::certificates = nullptr;
NpmSmtpServer* SmtpTlsTest::implicit_server = nullptr;
NpmSmtpServer* SmtpTlsTest::upgrading_server = nullptr;

TEST_F(SmtpTlsTest, EveryMethodSendsOverBothModes) {
  const size_t implicit_before = implicit_server->MessageFiles().size();
  const size_t upgrading_before = upgrading_server->MessageFiles().size();
  for (const int method : {kAuthNone, kAuthCramMd5, kAuthLogin}) {
    EXPECT_TRUE(Send("localhost", implicit_server->Port(), TlsMode::kImplicit, method, true, true))
        << method << ": " << last_reply;
    EXPECT_TRUE(Send("localhost", upgrading_server->Port(), TlsMode::kUpgrade, method, true, true))
        << method << ": " << last_reply;
  }
  EXPECT_TRUE(implicit_server->WaitForMessages(implicit_before + 3, 5000));
  EXPECT_TRUE(upgrading_server->WaitForMessages(upgrading_before + 3, 5000));
}

TEST_F(SmtpTlsTest, UntrustedCertificateIsRefusedUnlessChecksAreOff) {
  EXPECT_FALSE(Send("localhost", implicit_server->Port(), TlsMode::kImplicit, kAuthLogin, true, false));
  EXPECT_THAT(last_reply, HasSubstr("untrusted certificate"));
  EXPECT_FALSE(Send("localhost", upgrading_server->Port(), TlsMode::kUpgrade, kAuthLogin, true, false));
  EXPECT_THAT(last_reply, HasSubstr("untrusted certificate"));

  const std::string log = folder->File("checks-off.log");
  ASSERT_EQ(OpenLog(log), 1);
  EXPECT_TRUE(Send("localhost", implicit_server->Port(), TlsMode::kImplicit, kAuthLogin, false, false)) << last_reply;
  EXPECT_TRUE(Send("localhost", upgrading_server->Port(), TlsMode::kUpgrade, kAuthLogin, false, false)) << last_reply;
  CloseLog();
  const std::string written = test_support::ReadFile(log);
  EXPECT_THAT(written, HasSubstr("Warning: TLS certificate checks are off for localhost:" +
                                 std::to_string(implicit_server->Port())));
  EXPECT_THAT(written, HasSubstr("Warning: TLS certificate checks are off for localhost:" +
                                 std::to_string(upgrading_server->Port())));
}

TEST_F(SmtpTlsTest, WrongHostNameIsRefusedUnlessChecksAreOff) {
  EXPECT_FALSE(Send("127.0.0.1", implicit_server->Port(), TlsMode::kImplicit, kAuthLogin, true, true));
  EXPECT_THAT(last_reply, HasSubstr("wrong host name"));
  EXPECT_TRUE(Send("127.0.0.1", implicit_server->Port(), TlsMode::kImplicit, kAuthLogin, false, true)) << last_reply;
}

TEST(SmtpStartTlsRefusalTest, ServerWithoutStartTlsNeverSeesTheLogin) {
  NpmSmtpServer plain(kUser, kPassword);  // STARTTLS disabled
  plain.Start();
  CSMTPConnection connection;
  connection.tls.mode = TlsMode::kUpgrade;
  EXPECT_FALSE(connection.Connect("127.0.0.1", kAuthLogin, kUser, kPassword, plain.Port()));
  EXPECT_THAT(connection.LastReplyText(), StartsWith("The server does not offer STARTTLS ("));
  EXPECT_FALSE(connection.IsConnected());

  test_support::FakeSmtpServer fake;
  fake.AcceptMail();
  connection.SetHeloName("client.example");
  EXPECT_FALSE(connection.Connect("127.0.0.1", kAuthLogin, kUser, kPassword, fake.Port()));
  ASSERT_TRUE(fake.WaitForDisconnect(2000));
  EXPECT_THAT(fake.ReceivedLines(), ElementsAre("EHLO client.example", "STARTTLS", "QUIT"));
}

}  // namespace
}  // namespace larkspin
