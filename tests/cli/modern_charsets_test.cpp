// [System] Charsets=Modern end to end: "larkspin peek" and "larkspin download" of the demo's
// messages of today's kind from Dovecot print and store what Python's email package reads in
// them, Classic leaves their encoded words alone, and "larkspin send" to smtp-server sends a
// UTF-8 subject and text that Python reads back unchanged, or, when they are plain ISO-8859-1,
// exactly the mail Classic sends.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include "cli/cli_runner.h"
#include "common/format.h"
#include "common/scramble.h"
#include "support/dovecot_server.h"
#include "support/npm_smtp_server.h"
#include "support/python_check.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::BytesOfHex;
using test_support::CliRun;
using test_support::ReadFile;
using test_support::RunLarkspin;
using test_support::RunPython;
using test_support::TempFolder;
using test_support::WriteFile;

const char* const kDemoMessages[] = {"14-party-invitation-utf8.eml", "15-cafe-prices-quoted-printable.eml",
                                     "16-office-offer-rfc2231-name.eml"};

// For each message path on standard input: the display name of From, the Subject, the plain
// text and the attachment names (joined by ","), each as "h" and hex. The text's line ends are
// compared as LF on both sides.
const char* const kReadMessages = R"PY(
import email, email.utils, sys
from email.policy import default
for path in sys.stdin.read().split():
    with open(path, "rb") as source:
        msg = email.message_from_binary_file(source, policy=default)
    names = ",".join(part.get_filename() for part in msg.iter_attachments())
    fields = [email.utils.parseaddr(str(msg["From"]))[0], str(msg["Subject"]),
              msg.get_body(("plain",)).get_content(), names]
    print(" ".join("h" + field.encode("utf-8").hex() for field in fields))
)PY";

struct PythonReading {
  std::string from_name;
  std::string subject;
  std::string text;
  std::string attachments;
};

std::vector<PythonReading> ReadWithPython(const std::vector<std::string>& paths) {
  std::string input;
  for (const std::string& path : paths) input += path + "\n";
  int status = -1;
  std::istringstream lines(RunPython(kReadMessages, input, &status));
  EXPECT_EQ(status, 0);
  std::vector<PythonReading> readings;
  for (std::string from, subject, text, names; lines >> from >> subject >> text >> names;) {
    readings.push_back({BytesOfHex(from.substr(1)), BytesOfHex(subject.substr(1)), BytesOfHex(text.substr(1)),
                        BytesOfHex(names.substr(1))});
  }
  return readings;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream stream(line);
  for (std::string field; std::getline(stream, field, '\t');) fields.push_back(field);
  return fields;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// A text with LF line ends and no line ends at its end: the stored file keeps CR LF, while
// Python's quoted-printable decoder gives LF.
std::string LfText(const std::string& text) {
  std::string lf;
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n') lf += text[i];
  while (!lf.empty() && lf.back() == '\n') lf.pop_back();
  return lf;
}

// The text of a stored message file: after its header lines, before the attachment line.
std::string StoredText(const std::string& file) {
  const size_t start = file.find("\r\n\r\n") + 4;
  return file.substr(start, file.find("\r\r\n<<Attachments: ") - start);
}

class ModernCharsetsTest : public ::testing::Test {
 protected:
  ModernCharsetsTest() {
    pop3_.AddUser("user", "secret");
    for (const char* name : kDemoMessages) {
      paths_.push_back(std::string(LARKSPIN_DEMO_MESSAGES) + "/" + name);
      pop3_.AddMessage("user", ReadFile(paths_.back()));
    }
    pop3_.Start();
  }

  CliRun Run(const std::string& system_lines, const std::vector<std::string>& arguments) {
    WriteFile(work_.File("config.ini"), test_support::ConfigFor({pop3_.Port()}, system_lines));
    return RunLarkspin(work_.Path(), arguments);
  }

  TempFolder work_;
  test_support::DovecotServer pop3_;
  std::vector<std::string> paths_;
};

TEST_F(ModernCharsetsTest, PeekAndDownloadShowAndStoreWhatPythonReads) {
  const std::vector<PythonReading> python = ReadWithPython(paths_);
  ASSERT_EQ(python.size(), paths_.size());
  const CliRun peek = Run("Charsets=Modern\r\n", {"peek", "--account", "1"});
  ASSERT_EQ(peek.exit_status, 0) << peek.err;
  const CliRun download = Run("Charsets=Modern\r\n", {"download", "--account", "1", "1", "2", "3"});
  ASSERT_EQ(download.exit_status, 0) << download.err;
  const std::vector<std::string> rows = Lines(peek.out);
  const std::vector<std::string> stored = Lines(download.out);
  ASSERT_EQ(stored.size(), python.size()) << download.out;
  for (size_t i = 0; i < python.size(); ++i) {
    const std::vector<std::string> row = Fields(rows.at(i));
    const std::vector<std::string> result = Fields(stored[i]);
    ASSERT_GE(result.size(), 3u) << stored[i];
    EXPECT_EQ(row.at(1), python[i].from_name) << paths_[i];
    EXPECT_EQ(row.at(2), python[i].subject) << paths_[i];
    const std::string file = ReadFile(work_.File(result[2]));
    EXPECT_NE(file.find("\r\nSubject: " + python[i].subject + "\r\n"), std::string::npos) << paths_[i];
    EXPECT_EQ(LfText(StoredText(file)), LfText(python[i].text)) << paths_[i];
    EXPECT_EQ(result.size() > 3 ? result[3] : "", python[i].attachments) << paths_[i];
    std::istringstream names(python[i].attachments);
    for (std::string name; std::getline(names, name, ',');)
      EXPECT_TRUE(std::filesystem::exists(work_.File("mailbox1/attach/" + name))) << name;
  }
}

TEST_F(ModernCharsetsTest, ClassicLeavesTheirEncodedWordsAsTheyAre) {
  const CliRun peek = Run("", {"peek", "--account", "1"});
  ASSERT_EQ(peek.exit_status, 0) << peek.err;
  const std::vector<std::string> rows = Lines(peek.out);
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(Fields(rows[0]).at(2).rfind("=?utf-8?b?8J+OiSDQn9GA0LjQs9C70LDRiNC10L3QuNC1", 0), 0u) << rows[0];
  EXPECT_EQ(Fields(rows[1]).at(2).rfind("=?utf-8?q?Kaffeepreise_im_Caf=C3=A9", 0), 0u) << rows[1];
}

// A mail as smtp-server stored it, with what differs between any two sends (the date and the
// MIME boundary) blanked out.
std::string WithoutDateAndBoundary(std::string mail) {
  mail = std::regex_replace(mail, std::regex("Date: [^\r]*"), "Date:");
  std::smatch boundary;
  if (std::regex_search(mail, boundary, std::regex("boundary=\"([^\"]+)\""))) {
    const std::string mark = boundary[1].str();
    for (size_t at = mail.find(mark); at != std::string::npos; at = mail.find(mark, at)) mail.replace(at, mark.size(), "B");
  }
  return mail;
}

TEST(ModernSendTest, Utf8SubjectAndTextArriveAsTypedAndPlainLatin1OnesAsClassicSendsThem) {
  TempFolder work;
  test_support::NpmSmtpServer smtp("ann", "secret");
  smtp.Start();
  const auto send = [&](const std::string& system_lines, const std::string& subject, const std::string& text) {
    WriteFile(work.File("config.ini"),
              FormatText("[System]\r\nAccounts=1\r\nTimeOut=10\r\nStripUmlaut=0\r\n%s[Users]\r\nAccount1=Box\r\n"
                         "[Account1]\r\nFullName=Ann Lee\r\nMailAddress=ann@example.org\r\nSMTPHost=127.0.0.1\r\n"
                         "SMTPPort=%d\r\nAuthentication=AuthLoginMethod\r\n",
                         system_lines.c_str(), smtp.Port()) +
                  "POP3Account=" + Scrambled("ann") + "\r\nPOP3Password=" + Scrambled("secret") + "\r\n");
    const CliRun run =
        RunLarkspin(work.Path(), {"send", "--account", "1", "--to", "bob@example.org", "--subject", subject}, text);
    EXPECT_EQ(run.exit_status, 0) << run.err;
  };
  const std::string subject = "\xF0\x9F\x8E\x89 \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, Gr\xC3\xBC\xC3\x9F" "e und "
                              "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E " + std::string(40, 'x');
  const std::string text = "\xD0\x97\xD0\xB4\xD1\x80\xD0\xB0\xD0\xB2\xD1\x81\xD1\x82\xD0\xB2\xD1\x83\xD0\xB9 "
                           "\xE2\x80\x94 \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\r\n.\r\nGr\xC3\xBC\xC3\x9F" "e\r\n";
  send("Charsets=Modern\r\n", subject, text);
  send("Charsets=Modern\r\n", "Gr\xC3\xBC\xC3\x9F" "e", "Sch\xC3\xB6n \xC2\xBD\r\n");
  send("", "Gr\xC3\xBC\xC3\x9F" "e", "Sch\xC3\xB6n \xC2\xBD\r\n");
  ASSERT_TRUE(smtp.WaitForMessages(3, 5000));
  const std::vector<std::string> files = smtp.MessageFiles();

  const char* const read_back = R"PY(
import email, sys
from email.policy import default
with open(sys.stdin.read().strip(), "rb") as source:
    msg = email.message_from_binary_file(source, policy=default)
print("h" + str(msg["Subject"]).encode("utf-8").hex(), "h" + msg.get_body(("plain",)).get_content().encode("utf-8").hex())
)PY";
  int status = -1;
  std::istringstream read(RunPython(read_back, files[0], &status));
  ASSERT_EQ(status, 0);
  std::string subject_hex, text_hex;
  read >> subject_hex >> text_hex;
  EXPECT_EQ(BytesOfHex(subject_hex.substr(1)), subject);
  EXPECT_EQ(BytesOfHex(text_hex.substr(1)).substr(0, LfText(text).size()), LfText(text));
  EXPECT_EQ(WithoutDateAndBoundary(ReadFile(files[1])), WithoutDateAndBoundary(ReadFile(files[2])));
}

}  // namespace
}  // namespace larkspin
