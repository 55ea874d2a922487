// POP3 over TLS against a real Dovecot: POP3S on one port, STLS on the plain port, with a
// certificate authority made by the test.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "config/log.h"
#include "pop3/pop3_client.h"
#include "support/dovecot_server.h"
#include "support/fake_pop3_server.h"
#include "support/test_certificates.h"

namespace larkspin {
namespace {

using test_support::DovecotServer;
using test_support::ReadFile;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kMessage = "From: tls@example.org\r\nSubject: over TLS\r\n\r\nencrypted all the way\r\n";

class Pop3TlsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder = new test_support::TempFolder;
    certificates = new test_support::TestCertificates(folder->Path(), "localhost");
    server = new DovecotServer;
    server->EnableTls(certificates->CertificateFile(), certificates->KeyFile());
    server->AddUser("tls", "secret");
    server->AddMessage("tls", kMessage);
    server->Start();
  }
  static void TearDownTestSuite() {
    delete server;
    delete certificates;
    delete folder;
  }

  // Logs in with the given settings and, when that works, reads the one header.
  bool Peek(const std::string& host, int port, TlsMode mode, bool verify, bool trust_test_authority) {
    client.read_timeout_ms = 10000;
    client.tls.mode = mode;
    client.tls.verify = verify;
    client.tls.ca_file = trust_test_authority ? certificates->AuthorityFile() : "";
    if (!client.Connect(host, "tls", "secret", port)) return false;
    // The capabilities are those listed over TLS: STLS is offered only before the upgrade.
    EXPECT_TRUE(client.Capabilities().pipelining);
    EXPECT_FALSE(client.Capabilities().stls);
    CPop3Text header;
    const bool fetched = client.GetMessageHeader(1, header);
    EXPECT_EQ(header.HeaderField("Subject"), "over TLS");
    client.Disconnect();
    return fetched;
  }

  static test_support::TempFolder* folder;
  static test_support::TestCertificates* certificates;
  static DovecotServer* server;
  CPop3Client client;
};

test_support::TempFolder* Pop3TlsTest::folder = nullptr;
test_support::TestCertificates* Pop3TlsTest::certificates = nullptr;
DovecotServer* Pop3TlsTest::server = nullptr;

TEST_F(Pop3TlsTest, BothModesLogInWithAVerifiedCertificate) {
  EXPECT_TRUE(Peek("localhost", server->TlsPort(), TlsMode::kImplicit, true, true)) << client.LastReply();
  EXPECT_TRUE(Peek("localhost", server->Port(), TlsMode::kUpgrade, true, true)) << client.LastReply();
}

TEST_F(Pop3TlsTest, UntrustedCertificateIsRefusedUnlessChecksAreOff) {
  EXPECT_FALSE(Peek("localhost", server->TlsPort(), TlsMode::kImplicit, true, false));
  EXPECT_THAT(client.LastReply(), HasSubstr("untrusted certificate"));
  EXPECT_FALSE(Peek("localhost", server->Port(), TlsMode::kUpgrade, true, false));
  EXPECT_THAT(client.LastReply(), HasSubstr("untrusted certificate"));

  const std::string log = folder->File("checks-off.log");
  ASSERT_EQ(OpenLog(log), 1);
  EXPECT_TRUE(Peek("localhost", server->TlsPort(), TlsMode::kImplicit, false, false)) << client.LastReply();
  EXPECT_TRUE(Peek("localhost", server->Port(), TlsMode::kUpgrade, false, false)) << client.LastReply();
  CloseLog();
  const std::string warning = "Warning: TLS certificate checks are off for localhost:";
  const std::string written = ReadFile(log);
  EXPECT_THAT(written, HasSubstr(warning + std::to_string(server->TlsPort())));
  EXPECT_THAT(written, HasSubstr(warning + std::to_string(server->Port())));
}

TEST_F(Pop3TlsTest, WrongHostNameIsRefusedUnlessChecksAreOff) {
  // The certificate names "localhost" only, not the address.
  EXPECT_FALSE(Peek("127.0.0.1", server->TlsPort(), TlsMode::kImplicit, true, true));
  EXPECT_THAT(client.LastReply(), HasSubstr("wrong host name"));
  EXPECT_TRUE(Peek("127.0.0.1", server->TlsPort(), TlsMode::kImplicit, false, true)) << client.LastReply();
}

TEST(Pop3StlsRefusalTest, ServerWithoutStlsNeverSeesTheLogin) {
  DovecotServer plain;  // ssl = no: STLS is an unknown command
  plain.AddUser("tls", "secret");
  plain.Start();
  CPop3Client client;
  client.tls.mode = TlsMode::kUpgrade;
  EXPECT_FALSE(client.Connect("127.0.0.1", "tls", "secret", plain.Port()));
  EXPECT_THAT(client.LastReply(), HasSubstr("The server does not offer STLS"));
  EXPECT_FALSE(client.IsConnected());

  test_support::FakePop3Server fake;
  EXPECT_FALSE(client.Connect("127.0.0.1", "tls", "secret", fake.Port()));
  ASSERT_TRUE(fake.WaitForDisconnect(2000));
  EXPECT_THAT(fake.ReceivedLines(), ElementsAre("CAPA", "STLS", "QUIT"));
}

TEST(Pop3TlsSettingTest, UnknownSecurityValueConnectsNowhere) {
  test_support::FakePop3Server fake;
  CPop3Client client;
  client.tls.mode = ParseTlsMode("TLS1.3");
  EXPECT_FALSE(client.Connect("127.0.0.1", "u", "p", fake.Port()));
  EXPECT_THAT(client.LastReply(), HasSubstr("POP3Security"));
  EXPECT_EQ(ParseTlsMode("ssl"), TlsMode::kImplicit);
  EXPECT_EQ(ParseTlsMode("StartTLS"), TlsMode::kUpgrade);
  EXPECT_EQ(ParseTlsMode(""), TlsMode::kNone);
}

}  // namespace
}  // namespace larkspin
