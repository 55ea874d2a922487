// The SMTP client and the compose send step against a real server (npm smtp-server), with what
// it received parsed by Python's email package.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "compose/send_mail.h"
#include "smtp/smtp_connection.h"
#include "smtp/smtp_mail.h"
#include "support/npm_smtp_server.h"
#include "support/python_check.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::NpmSmtpServer;
using test_support::RunPython;
using test_support::ScopedWorkingDirectory;
using test_support::TempFolder;
using test_support::WriteFile;

const std::string kUser = "ann";
const std::string kPassword = "s3cret pass";

// Prints each field of the message file named on standard input as "name hex-of-bytes", then
// "same NAME" or "differs NAME" for each attachment compared with the file of that name in the
// folder given as second line.
constexpr const char* kParseScript = R"(import email, email.policy, os, sys
path, folder = sys.stdin.read().split('\n')[:2]
with open(path, 'rb') as f:
    message = email.message_from_binary_file(f, policy=email.policy.default)
def show(name, value):
    print(name, value.encode('latin-1').hex())
show('from', str(message['From']))
def addresses(name):
    return ','.join(address.addr_spec for address in message[name].addresses) if name in message else ''
show('to', addresses('To'))
show('cc', addresses('Cc'))
show('bcc', 'present' if 'Bcc' in message else 'absent')
show('subject', str(message['Subject']))
show('priority', str(message['X-Priority']))
show('in-reply-to', str(message['In-Reply-To']))
for part in message.walk():
    if part.get_content_type() == 'text/plain' and part.get_filename() is None:
        print('text', part.get_payload(decode=True).hex())
for part in message.iter_attachments():
    name = part.get_filename()
    with open(os.path.join(folder, name), 'rb') as f:
        print('same' if f.read() == part.get_payload(decode=True) else 'differs', name)
)";

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

// The parse script's lines as a map; the attachment lines keyed "same NAME" / "differs NAME".
std::map<std::string, std::string> ParseWithPython(const std::string& message_path, const std::string& folder) {
  std::map<std::string, std::string> fields;
  std::istringstream lines(RunPython(kParseScript, message_path + "\n" + folder + "\n"));
  for (std::string line; std::getline(lines, line);) {
    const size_t blank = line.find(' ');
    const std::string name = line.substr(0, blank);
    if (name == "same" || name == "differs") {
      fields[line] = "";
    } else {
      fields[name] = FromHex(line.substr(blank + 1));
    }
  }
  return fields;
}

std::string WithLineFeeds(std::string text) {
  std::string out;
  for (const char c : text) {
    if (c != '\r') out += c;
  }
  return out;
}

class SmtpServerTest : public ::testing::Test {
 protected:
  SmtpServerTest() : server_(kUser, kPassword) { server_.Start(); }

  bool ConnectAndSend(int method, const std::string& password, CSMTPConnection& connection) {
    if (!connection.Connect("127.0.0.1", method, kUser, password, server_.Port())) return false;
    CSMTPMail mail;
    mail.SetFrom(CSMTPRecipient("Ann", "ann@example.org"));
    mail.AddRecipient(CSMTPRecipient("", "bob@example.org"), kRecipientTo);
    mail.SetSubject("method " + std::to_string(method));
    mail.SetText("Hello");
    return connection.SendMessage(mail) && connection.Disconnect(true);
  }

  NpmSmtpServer server_;
};

TEST_F(SmtpServerTest, EachMethodWithTheRightPasswordIsAccepted) {
  for (const int method : {kAuthNone, kAuthCramMd5, kAuthLogin}) {
    CSMTPConnection connection;
    EXPECT_TRUE(ConnectAndSend(method, kPassword, connection)) << method << ": " << connection.LastReplyText();
  }
  EXPECT_TRUE(server_.WaitForMessages(3, 5000));
}

TEST_F(SmtpServerTest, AWrongPasswordIsRefusedAndTheReplyKept) {
  for (const int method : {kAuthCramMd5, kAuthLogin}) {
    CSMTPConnection connection;
    EXPECT_FALSE(ConnectAndSend(method, "wrong", connection)) << method;
    EXPECT_EQ(connection.LastReplyCode(), 535) << method;
    EXPECT_TRUE(connection.LastReplyText().starts_with("535 ")) << connection.LastReplyText();
    EXPECT_FALSE(connection.IsConnected());
  }
  // The plain-text AUTH LOGIN PLAIN variant is no standard command: this server refuses it.
  CSMTPConnection connection;
  EXPECT_FALSE(ConnectAndSend(kAuthLoginPlain, kPassword, connection));
  EXPECT_EQ(connection.LastReplyCode(), 501);
  EXPECT_TRUE(server_.MessageFiles().empty());
}

TEST_F(SmtpServerTest, WhatTheServerReceivedParsesAsTypedAlsoAReplyWithANonAsciiAttachmentName) {
  TempFolder folder;
  ScopedWorkingDirectory cwd(folder.Path());
  std::filesystem::create_directories(folder.File("mailbox1/sent"));
  std::string binary;
  for (int i = 0; i < 100000; ++i) binary += static_cast<char>((i * 7919 + i / 256) % 256);
  WriteFile(folder.File("data.bin"), binary);
  WriteFile(folder.File("notes.txt"), ".starts with a dot\r\n.\r\n");
  WriteFile(folder.File("empty.txt"), "");
  const std::string long_name = "K\xC3\xA4se und \xC3\x9C" "berraschungen " + std::string(60, 'n') + ".txt";
  WriteFile(folder.File(long_name), "cheese");
  AccountRecord identity;
  identity.account_number = 1;
  identity.smtp_host = "127.0.0.1";
  identity.smtp_port = server_.Port();
  identity.full_name = "J\xFCrgen M\xFCller";
  identity.mail_address = "juergen@example.org";
  identity.authentication = "CramMD5Method";
  identity.login = kUser;
  identity.password = kPassword;
  ComposedMail mail;
  mail.to = "bob@example.org;carl@example.org";
  mail.cc = "dora@example.org";
  mail.bcc = "eve@example.org";
  mail.subject = "Caf\xE9 \xFC" "ber den Br\xFC" "cken = 100% ?_" + std::string(60, 'x');
  mail.text = ".first line\r\n.\r\nK\xF6ln = Gr\xFC\xDF" "e \t\r\n" + std::string(200, 'y') + "\r\n..two\r\n";
  mail.attachments = "data.bin,notes.txt,empty.txt," + long_name;
  mail.priority = kPriorityHigh;
  mail.in_reply_to = "<orig@example.org>";
  mail.references = "<first@example.org> <orig@example.org>";
  std::unique_ptr<CSMTPConnection> connection;
  const SendOutcome outcome = SendComposedMail(identity, mail, SendSettings(), connection);
  ASSERT_TRUE(outcome.sent) << outcome.failure_reason;
  ASSERT_TRUE(server_.WaitForMessages(1, 5000));
  const std::string message = server_.MessageFiles().at(0);
  EXPECT_EQ(server_.EnvelopeOf(message),
            "MAIL FROM juergen@example.org\nRCPT TO bob@example.org\nRCPT TO carl@example.org\n"
            "RCPT TO dora@example.org\nRCPT TO eve@example.org\n");

  const std::map<std::string, std::string> fields = ParseWithPython(message, folder.Path());
  EXPECT_EQ(fields.at("from"), "J\xFCrgen M\xFCller <juergen@example.org>");
  EXPECT_EQ(fields.at("to"), "bob@example.org,carl@example.org");
  EXPECT_EQ(fields.at("cc"), "dora@example.org");
  EXPECT_EQ(fields.at("bcc"), "absent");
  EXPECT_EQ(fields.at("subject"), "Caf\xE9 ueber den Bruecken = 100% ?_" + std::string(60, 'x'));
  EXPECT_EQ(fields.at("priority"), "1");
  EXPECT_EQ(fields.at("text"), WithLineFeeds(".first line\r\n.\r\nKoeln = Gruesse \t\r\n" + std::string(200, 'y') +
                                             "\r\n..two\r\n\r\n\r\n\r\n\r\n-.-.-.-.-.-.-.-.-.-.-.-.-.-.-\r\n"
                                             "Get Larkspin - Free at\r\nhttps://larkspin.example.org/"));
  EXPECT_EQ(fields.count("same data.bin"), 1u);
  EXPECT_EQ(fields.count("same notes.txt"), 1u);
  EXPECT_EQ(fields.count("same empty.txt"), 1u);
  EXPECT_EQ(fields.count("same " + long_name), 1u);
  EXPECT_EQ(fields.at("in-reply-to"), "<orig@example.org>");
  EXPECT_EQ(fields.size(), 12u);
}

}  // namespace
}  // namespace larkspin
