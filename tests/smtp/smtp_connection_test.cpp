// The SMTP client against the scriptable fake server: the protocol's edge cases and exactly what
// goes over the wire.
#include "smtp/smtp_connection.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "mime/base64.h"
#include "platform/last_error.h"
#include "smtp/smtp_mail.h"
#include "support/fake_smtp_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::FakeSmtpServer;
using test_support::Reply;
using test_support::ReplyAndClose;
using test_support::Silence;
using test_support::SplitReply;
using test_support::TempFolder;
using test_support::WriteFile;

const std::string kUser = "ann";
const std::string kPassword = "s3cret";

// Keeps every diagnostic text.
class CRecordingConnection : public CSMTPConnection {
 public:
  std::vector<std::string> diagnostics;

 protected:
  void ReportDiagnostic(const std::string& text) override { diagnostics.push_back(text); }
};

std::string Base64(const std::string& text) { return Base64Codec().Encode(text); }

void AcceptAuthLogin(FakeSmtpServer& server) {
  server.AcceptMail();
  server.On("AUTH LOGIN\r", Reply("334 VXNlcm5hbWU6\r\n"));
  server.On(Base64(kUser) + "\r", Reply("334 UGFzc3dvcmQ6\r\n"));
  server.On(Base64(kPassword) + "\r", Reply("235 2.7.0 Authentication successful\r\n"));
}

void SimpleMail(CSMTPMail& mail, const std::string& text) {
  mail.SetFrom(CSMTPRecipient("Ann", "ann@example.org"));
  mail.AddRecipient(CSMTPRecipient("", "to@example.org"), kRecipientTo);
  mail.AddRecipient(CSMTPRecipient("", "cc@example.org"), kRecipientCc);
  mail.AddRecipient(CSMTPRecipient("", "bcc@example.org"), kRecipientBcc);
  mail.SetSubject("Test");
  mail.SetText(text);
}

// The part of the data after the header block's empty line.
std::string BodyOf(const std::string& data) { return data.substr(data.find("\r\n\r\n") + 4); }

TEST(CSMTPConnectionTest, AuthLoginSendAndQuitInTheirOrder) {
  FakeSmtpServer server;
  AcceptAuthLogin(server);
  CSMTPConnection connection;
  connection.SetHeloName("client.example");
  ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthLogin, kUser, kPassword, server.Port()));
  CSMTPMail mail;
  SimpleMail(mail, "Hello\r\n.\r\nBye");
  ASSERT_TRUE(connection.SendMessage(mail));
  EXPECT_EQ(connection.LastReplyCode(), 250);
  ASSERT_TRUE(connection.Disconnect(true));
  EXPECT_EQ(connection.LastReplyText(), "221 bye");
  EXPECT_EQ(server.ReceivedLines(),
            (std::vector<std::string>{"EHLO client.example", "AUTH LOGIN", Base64(kUser), Base64(kPassword),
                                      "MAIL FROM:<ann@example.org>", "RCPT TO:<to@example.org>",
                                      "RCPT TO:<cc@example.org>", "RCPT TO:<bcc@example.org>", "DATA", ".",
                                      "QUIT"}));
  const std::vector<std::string> data = server.ReceivedData();
  ASSERT_EQ(data.size(), 1u);
  EXPECT_TRUE(data[0].starts_with("From: Ann <ann@example.org>\r\nTo: to@example.org\r\nCc: cc@example.org\r\n"));
  EXPECT_EQ(data[0].find("bcc@"), std::string::npos);
  // Single part: header, empty line, the text dot-stuffed, the end marker.
  EXPECT_NE(data[0].find("Content-Type: text/plain;\r\n\tcharset=iso-8859-1\r\n"), std::string::npos);
  EXPECT_EQ(BodyOf(data[0]), "Hello\r\n..\r\nBye");
}

TEST(CSMTPConnectionTest, ATextStartingWithADotIsStuffedAtItsStart) {
  FakeSmtpServer server;
  server.AcceptMail();
  CSMTPConnection connection;
  ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthNone, "", "", server.Port()));
  CSMTPMail single;
  SimpleMail(single, ".profile\r\n.");
  ASSERT_TRUE(connection.SendMessage(single));
  CSMTPMail multi;
  SimpleMail(multi, ".profile");
  multi.EnableMime(true);
  ASSERT_TRUE(connection.SendMessage(multi));
  const std::vector<std::string> data = server.ReceivedData();
  ASSERT_EQ(data.size(), 2u);
  EXPECT_EQ(BodyOf(data[0]), "..profile\r\n..");
  EXPECT_NE(data[1].find("quoted-printable\r\n\r\n..profile\r\n--"), std::string::npos);
}

TEST(CSMTPConnectionTest, MultipartGoesOutInTransmissionOrder) {
  TempFolder folder;
  WriteFile(folder.File("notes.txt"), std::string(57, 'n'));
  FakeSmtpServer server;
  server.AcceptMail();
  CSMTPConnection connection;
  ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthNone, "", "", server.Port()));
  CSMTPMail mail;
  CSMTPPart attachment;
  ASSERT_TRUE(attachment.AttachFile(folder.File("notes.txt")));
  mail.AttachPart(attachment);
  mail.SetText("Text \xE4");
  ASSERT_TRUE(connection.SendMessage(mail));
  const std::string b = mail.Root().Boundary();
  ASSERT_EQ(server.ReceivedData().size(), 1u);
  EXPECT_EQ(BodyOf(server.ReceivedData()[0]),
            "This is a multi-part message in MIME format\r\n\r\n--" + b +
                "\r\nContent-Type: application/octet-stream; charset=iso-8859-1; name=notes.txt\r\n"
                "Content-Transfer-Encoding: base64\r\nContent-Disposition: attachment; filename=\"notes.txt\"\r\n"
                "\r\n" + Base64(std::string(57, 'n')) + "\r\n\r\n--" + b +
                "\r\nContent-Type: text/plain; charset=iso-8859-1\r\nContent-Transfer-Encoding: quoted-printable\r\n"
                "\r\nText =E4\r\n--" + b + "--");
}

TEST(CSMTPConnectionTest, HeloWithoutAuthenticationAndAutoHeloName) {
  FakeSmtpServer server;
  server.AcceptMail();
  CSMTPConnection connection;
  ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthNone, kUser, kPassword, server.Port()));
  char host[260] = {};
  ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
  EXPECT_EQ(connection.HeloName(), host);
  ASSERT_TRUE(connection.Disconnect(true));
  ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthNone, kUser, kPassword, server.Port()));
  ASSERT_TRUE(connection.Disconnect(true));
  EXPECT_EQ(server.ReceivedLines(),
            (std::vector<std::string>{"HELO " + std::string(host), "QUIT", "HELO " + std::string(host), "QUIT"}));
}

TEST(CSMTPConnectionTest, EhloReplyInPiecesIsReadUntilItsLastLine) {
  FakeSmtpServer server;
  AcceptAuthLogin(server);
  server.On("EHLO", SplitReply({"250-fake.example\r\n250-AUTH LOG", "IN\r\n250-SIZE 1000\r\n", "250 8BITMIME\r\n"}, 50));
  CSMTPConnection connection;
  ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthLogin, kUser, kPassword, server.Port()));
  EXPECT_EQ(server.ReceivedLines().at(1), "AUTH LOGIN");
}

TEST(CSMTPConnectionTest, TwoLineGreetingSplitAcrossPackets) {
  FakeSmtpServer server(SplitReply({"220-first line\r\n", "220 second line\r\n"}, 100));
  AcceptAuthLogin(server);
  CSMTPConnection connection;
  ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthLogin, kUser, kPassword, server.Port()));
}

TEST(CSMTPConnectionTest, AnyLineOfAReplyMayCarryTheExpectedCode) {
  FakeSmtpServer server;
  server.AcceptMail();
  server.On("HELO", Reply("250-first\r\n550 last\r\n"));
  CSMTPConnection connection;
  ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthNone, "", "", server.Port()));
  EXPECT_EQ(connection.LastReplyCode(), 250);
  EXPECT_EQ(connection.LastReplyText(), "250-first\r\n550 last");
}

TEST(CSMTPConnectionTest, Recipient251FailsTheSend) {
  FakeSmtpServer server;
  server.AcceptMail();
  server.On("RCPT TO:", Reply("251 User not local; will forward\r\n"));
  CRecordingConnection connection;
  ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthNone, "", "", server.Port()));
  CSMTPMail mail;
  SimpleMail(mail, "x");
  EXPECT_FALSE(connection.SendMessage(mail));
  EXPECT_EQ(connection.LastReplyCode(), 251);
  EXPECT_EQ(connection.LastReplyText(), "251 User not local; will forward");
  EXPECT_EQ(LastErrorCode(), kErrorBadCommand);
  EXPECT_EQ(connection.diagnostics.back(),
            "CSMTPConnection::SendRCPTForRecipient, An unexpected RCPT response was received");
  EXPECT_EQ(server.ReceivedLines().back(), "RCPT TO:<to@example.org>");
}

TEST(CSMTPConnectionTest, AuthLoginPlainSendsCredentialsAfterLiteralPrompts) {
  FakeSmtpServer server;
  server.AcceptMail();
  server.On("AUTH LOGIN PLAIN", Reply("334 Username:\r\n"));
  server.On(kUser + "\r", Reply("334 Password:\r\n"));
  server.On(kPassword + "\r", Reply("235 ok\r\n"));
  CSMTPConnection connection;
  ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthLoginPlain, kUser, kPassword, server.Port()));
  const std::vector<std::string> lines = server.ReceivedLines();
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()),
            (std::vector<std::string>{"AUTH LOGIN PLAIN", kUser, kPassword}));
}

TEST(CSMTPConnectionTest, AuthLoginPlainWithBase64PromptsWaitsIntoTheTimeOut) {
  FakeSmtpServer server;
  server.AcceptMail();
  server.On("AUTH LOGIN PLAIN", Reply("334 VXNlcm5hbWU6\r\n"));
  CRecordingConnection connection;
  connection.SetTimeout(300);
  EXPECT_FALSE(connection.Connect("127.0.0.1", kAuthLoginPlain, kUser, kPassword, server.Port()));
  EXPECT_EQ(LastErrorCode(), kErrorTimedOut);
  const std::vector<std::string> lines = server.ReceivedLines();
  // The time-out closed the connection: no QUIT whose answer could be the late prompt.
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), (std::vector<std::string>{"AUTH LOGIN PLAIN"}));
  EXPECT_FALSE(connection.IsConnected());
  EXPECT_EQ(connection.diagnostics.front(),
            "CSMTPConnection::ReadResponse, Timed Out waiting for response from SMTP server");
}

TEST(CSMTPConnectionTest, CramMd5AnswersTheRfc2195Example) {
  FakeSmtpServer server;
  server.AcceptMail();
  server.On("AUTH CRAM-MD5", Reply("334 PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+\r\n"));
  server.On("dGltIGI5MTNhNjAyYzdlZGE3YTQ5NWI0ZTZlNzMzNGQzODkw\r", Reply("235 ok\r\n"));
  CSMTPConnection connection;
  EXPECT_TRUE(connection.Connect("127.0.0.1", kAuthCramMd5, "tim", "tanstaaftanstaaf", server.Port()));
}

TEST(CSMTPConnectionTest, AFailedLoginKeepsTheServersReplyNotTheQuitReply) {
  FakeSmtpServer server;
  AcceptAuthLogin(server);
  server.On(Base64("wrong") + "\r", Reply("535 5.7.8 Authentication credentials invalid\r\n"));
  CRecordingConnection connection;
  EXPECT_FALSE(connection.Connect("127.0.0.1", kAuthLogin, kUser, "wrong", server.Port()));
  EXPECT_EQ(connection.LastReplyText(), "535 5.7.8 Authentication credentials invalid");
  EXPECT_EQ(connection.LastReplyCode(), 535);
  EXPECT_FALSE(connection.IsConnected());
  EXPECT_EQ(server.ReceivedLines().back(), "QUIT");
  EXPECT_EQ(connection.diagnostics, (std::vector<std::string>{
                                        "CSMTPConnection::AuthLogin, AUTH LOGIN authentication was unsuccessful",
                                        "CSMTPConnection::Connect, An unexpected HELO/EHLO response was received"}));
}

TEST(CSMTPConnectionTest, APeerThatClosesFailsTheStepCleanly) {
  FakeSmtpServer server;
  server.On("EHLO", ReplyAndClose("250-partial\r\n"));
  CSMTPConnection connection;
  EXPECT_FALSE(connection.Connect("127.0.0.1", kAuthLogin, kUser, kPassword, server.Port()));
  EXPECT_EQ(connection.LastReplyText(), "The SMTP server closed the connection.");
  EXPECT_EQ(connection.LastReplyCode(), 0);
  EXPECT_FALSE(connection.IsConnected());
}

TEST(CSMTPConnectionTest, AReplyThatNeverComesTimesOut) {
  FakeSmtpServer server;
  server.AcceptMail();
  server.On("MAIL FROM:", Silence());
  CSMTPConnection connection;
  connection.SetTimeout(200);
  ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthNone, "", "", server.Port()));
  CSMTPMail mail;
  SimpleMail(mail, "x");
  EXPECT_FALSE(connection.SendMessage(mail));
  EXPECT_EQ(LastErrorCode(), kErrorBadCommand);
  EXPECT_EQ(connection.LastReplyText(), "No reply from the SMTP server within 0.2 s; connection closed.");
  EXPECT_EQ(connection.LastReplyCode(), 0);
  EXPECT_FALSE(connection.IsConnected());
}

TEST(CSMTPConnectionTest, UnreachableServerAndWrongGreeting) {
  int unused_port;
  {
    FakeSmtpServer closed;
    unused_port = closed.Port();
  }
  CRecordingConnection connection;
  EXPECT_FALSE(connection.Connect("127.0.0.1", kAuthNone, "", "", unused_port));
  EXPECT_NE(connection.LastReplyText().find("Cannot connect"), std::string::npos);
  EXPECT_TRUE(connection.diagnostics.back().starts_with(
      "CSMTPConnection::Connect, Could not connect to the SMTP server 127.0.0.1 on port"));
  EXPECT_FALSE(connection.Connect("no-such-host.invalid", kAuthNone, "", "", 25));
  EXPECT_EQ(LastErrorCode(), kErrorInvalidArgument);

  FakeSmtpServer busy(Reply("554 no service\r\n"));
  busy.On("QUIT", Reply("221 bye\r\n"));
  EXPECT_FALSE(connection.Connect("127.0.0.1", kAuthNone, "", "", busy.Port()));
  EXPECT_EQ(connection.LastReplyText(), "554 no service");
  EXPECT_EQ(LastErrorCode(), kErrorNegativeReply);
}

TEST(CSMTPConnectionTest, ReconnectAfterAFailedSendClosesThePreviousSocket) {
  FakeSmtpServer server;
  server.AcceptMail();
  server.On("MAIL FROM:", Reply("451 try later\r\n"), 1);
  CSMTPConnection connection;
  connection.SetTimeout(2000);
  ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthNone, "", "", server.Port()));
  CSMTPMail mail;
  SimpleMail(mail, "x");
  EXPECT_FALSE(connection.SendMessage(mail));
  EXPECT_TRUE(connection.IsConnected());
  // The fake server serves one connection at a time: the second greeting only comes once the
  // first socket is closed.
  ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthNone, "", "", server.Port()));
  EXPECT_TRUE(server.WaitForDisconnect(1000));
  EXPECT_TRUE(connection.SendMessage(mail));
  EXPECT_EQ(server.ConnectionCount(), 2);
}

TEST(CSMTPConnectionTest, LineBreaksInAddressesNeverReachTheWire) {
  FakeSmtpServer server;
  server.AcceptMail();
  CSMTPConnection connection;
  ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthNone, "", "", server.Port()));
  CSMTPMail mail;
  SimpleMail(mail, "x");
  mail.AddRecipient(CSMTPRecipient("", "evil@example.org>\r\nRCPT TO:<other@example.org"), kRecipientTo);
  EXPECT_FALSE(connection.SendMessage(mail));
  EXPECT_EQ(LastErrorCode(), kErrorInvalidArgument);
  connection.Disconnect(true);
  CSMTPConnection plain;
  server.On("AUTH LOGIN PLAIN", Reply("334 Username:\r\n"));
  EXPECT_FALSE(plain.Connect("127.0.0.1", kAuthLoginPlain, "ann\r\nRSET", "pw", server.Port()));
  for (const std::string& line : server.ReceivedLines()) {
    EXPECT_EQ(line.find("other@"), std::string::npos) << line;
    EXPECT_NE(line, "RSET");
  }
}

TEST(CSMTPConnectionTest, ALargeAttachmentArrivesWholeAndAClosingPeerRaisesNoSignal) {
  TempFolder folder;
  std::string bytes(3 << 20, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 131) >> 3);
  WriteFile(folder.File("big.bin"), bytes);
  FakeSmtpServer server;
  server.AcceptMail();
  CSMTPConnection connection;
  ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthNone, "", "", server.Port()));
  CSMTPMail mail;
  CSMTPPart attachment;
  ASSERT_TRUE(attachment.AttachFile(folder.File("big.bin")));
  mail.AttachPart(attachment);
  mail.SetText("see attachment");
  ASSERT_TRUE(connection.SendMessage(mail));
  ASSERT_EQ(server.ReceivedData().size(), 1u);
  EXPECT_NE(server.ReceivedData()[0].find(Base64Codec().EncodeLines(bytes)), std::string::npos);

  FakeSmtpServer closing;
  closing.AcceptMail();
  closing.On("DATA", ReplyAndClose("354 go ahead\r\n"));
  ASSERT_TRUE(connection.Connect("127.0.0.1", kAuthNone, "", "", closing.Port()));
  EXPECT_FALSE(connection.SendMessage(mail));
}

TEST(CSMTPConnectionTest, DisconnectWhenNotConnected) {
  CRecordingConnection connection;
  EXPECT_FALSE(connection.Disconnect(true));
  EXPECT_EQ(connection.diagnostics,
            (std::vector<std::string>{"CSMTPConnection::Disconnect, Already disconnected from SMTP server, doing nothing"}));
}

}  // namespace
}  // namespace larkspin
