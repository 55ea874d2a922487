// What Send puts on the wire, for a table of subjects, texts and attachment names in both charset
// modes, read back by Python's email package, plus the limits Python does not check: line
// lengths, folding, 8-bit header bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/windows_1252.h"
#include "compose/send_mail.h"
#include "support/fake_smtp_server.h"
#include "support/python_check.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::BytesOfHex;
using test_support::FakeSmtpServer;
using test_support::HexOf;
using test_support::RunPython;
using test_support::ScopedWorkingDirectory;
using test_support::TempFolder;
using test_support::WriteFile;

// One "key hex" line per fact Python reads from the message on standard input.
constexpr const char* kReadBack = R"(import sys, email, email.policy
msg = email.message_from_bytes(sys.stdin.buffer.read(), policy=email.policy.default)
def put(key, text): print(key, (text or '').encode('utf-8').hex())
put('subject', str(msg['subject']))
put('in-reply-to', str(msg['in-reply-to'] or ''))
put('references', str(msg['references'] or ''))
for part in msg.walk():
    put('defects', ' '.join(type(d).__name__ for d in part.defects))
    if part.get_filename() is not None:
        put('filename', part.get_filename())
    elif part.get_content_type() == 'text/plain':
        put('charset', part.get_content_charset())
        put('text', part.get_content().replace('\r\n', '\n'))
)";

std::vector<std::string> Lines(const std::string& data) {
  std::vector<std::string> lines;
  for (size_t start = 0; start <= data.size();) {
    const size_t end = std::min(data.find("\r\n", start), data.size());
    lines.push_back(data.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The header lines of the message and of its parts: from the top or a boundary line to the
// next empty line.
std::vector<std::string> HeaderLines(const std::string& data) {
  std::vector<std::string> headers;
  bool in_header = true;
  for (const std::string& line : Lines(data)) {
    if (line.starts_with("--")) {
      in_header = true;
    } else if (line.empty()) {
      in_header = false;
    } else if (in_header) {
      headers.push_back(line);
    }
  }
  return headers;
}

// A blank followed by more text after the line's first word (after "Name: " on a field's
// first line): a place the line could have been folded.
bool HasFoldPoint(const std::string& line) {
  size_t position = line.find_first_not_of(" \t");
  if (position == 0) position = line.find(' ');
  position = line.find_first_not_of(" \t", std::min(position, line.size()));
  position = line.find_first_of(" \t", std::min(position, line.size()));
  return line.find_first_not_of(" \t", std::min(position, line.size())) != std::string::npos;
}

struct Case {
  const char* name;
  TextEncoding encoding;
  std::string subject;  // UTF-8; a Classic case types it as Windows-1252
  std::string text;
  std::string attachment;  // a file name (UTF-8), or empty
  std::string in_reply_to;
  std::string charset;  // the text part's expected label
};

std::string LongSubject(const std::string& words) {
  std::string subject;
  while (subject.size() < 1539) subject += words;
  return subject.substr(0, 1539);
}

class SentMailCrosscheckTest : public ::testing::Test {
 protected:
  SentMailCrosscheckTest() : cwd_(folder_.Path()) {
    std::filesystem::create_directories(folder_.File("mailbox1/sent"));
    server_.AcceptMail();
    identity_.account_number = 1;
    identity_.smtp_host = "127.0.0.1";
    identity_.smtp_port = server_.Port();
    identity_.full_name = "Ann Lee";
    identity_.mail_address = "ann@example.org";
    settings_.strip_umlauts = false;
  }

  // The message as the server received it.
  std::string SendCase(const Case& test) {
    const auto typed = [&](const std::string& utf8) {
      return test.encoding == TextEncoding::kClassic ? TypedTextToAnsi(utf8) : utf8;
    };
    ComposedMail mail;
    mail.to = "bob@example.org";
    mail.subject = typed(test.subject);
    mail.text = typed(test.text);
    mail.in_reply_to = test.in_reply_to;
    mail.references = test.in_reply_to.empty() ? "" : "<first@example.org> " + test.in_reply_to;
    if (!test.attachment.empty()) {
      WriteFile(folder_.File(test.attachment), "content");
      mail.attachments = folder_.File(test.attachment);
    }
    settings_.text_encoding = test.encoding;
    std::unique_ptr<CSMTPConnection> connection;
    const SendOutcome outcome = SendComposedMail(identity_, mail, settings_, connection);
    EXPECT_TRUE(outcome.sent) << outcome.failure_reason;
    const std::vector<std::string> received = server_.ReceivedData();
    return received.empty() ? std::string() : received.back();
  }

  TempFolder folder_;
  ScopedWorkingDirectory cwd_;
  FakeSmtpServer server_;
  AccountRecord identity_;
  SendSettings settings_;
};

TEST_F(SentMailCrosscheckTest, EveryMessageReadsBackAsTypedWithinTheLineLimits) {
  const std::string dash_euro = "Preis \xE2\x80\x93 5 \xE2\x82\xAC";
  const std::string cyrillic = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";
  std::string long_name;
  for (int i = 0; i < 12; ++i) long_name += "\xC3\x9C" "berlang_";
  long_name += ".pdf";
  const Case cases[] = {
      {"Classic long subject", TextEncoding::kClassic, LongSubject("Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln "), "Hallo\r\n",
       "", "", "iso-8859-1"},
      {"Classic long plain subject", TextEncoding::kClassic, LongSubject("Greetings from Cologne "), "Hallo\r\n",
       "plain.txt", "", "iso-8859-1"},
      {"Classic dash and euro", TextEncoding::kClassic, dash_euro, dash_euro + "\r\n", "K\xC3\xA4se.txt", "",
       "windows-1252"},
      {"Classic umlauts, a reply", TextEncoding::kClassic, "Gr\xC3\xBC\xC3\x9F" "e",
       "Sch\xC3\xB6n\r\n", long_name, "<orig@example.org>", "iso-8859-1"},
      {"Modern long subject", TextEncoding::kUtf8, LongSubject("Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln ") + cyrillic, cyrillic + "\r\n", long_name, "",
       "utf-8"},
      {"Modern dash and euro", TextEncoding::kUtf8, dash_euro, dash_euro + "\r\n", "", "<orig@example.org>", "utf-8"},
      {"Modern plain Latin-1", TextEncoding::kUtf8, "Gr\xC3\xBC\xC3\x9F" "e", "Sch\xC3\xB6n\r\n",
       "plain name.txt", "", "iso-8859-1"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    const std::string data = SendCase(test);
    ASSERT_FALSE(data.empty());
    for (const std::string& line : Lines(data)) EXPECT_LE(line.size(), 998u);
    for (const std::string& line : HeaderLines(data)) {
      EXPECT_FALSE(line.size() > 78 && HasFoldPoint(line)) << line;
      for (const char c : line) ASSERT_LT(static_cast<unsigned char>(c), 0x80) << line;
    }

    std::istringstream read_back(RunPython(kReadBack, data));
    std::vector<std::string> filenames;
    std::string key;
    std::string hex;
    while (read_back >> key) {
      hex.clear();
      if (read_back.peek() == ' ') read_back.get();
      if (read_back.peek() != '\n') read_back >> hex;
      const std::string value = BytesOfHex(hex);
      if (key == "filename") {
        filenames.push_back(value);
      } else if (key == "text") {
        EXPECT_TRUE(value.starts_with(test.text.substr(0, test.text.size() - 2) + "\n")) << value;
      } else {
        const std::string references = test.in_reply_to.empty() ? "" : "<first@example.org> " + test.in_reply_to;
        const std::map<std::string, std::string> expected = {{"subject", test.subject},
                                                             {"in-reply-to", test.in_reply_to},
                                                             {"references", references},
                                                             {"defects", ""},
                                                             {"charset", test.charset}};
        EXPECT_EQ(value, expected.at(key)) << key;
      }
    }
    EXPECT_EQ(filenames, test.attachment.empty() ? std::vector<std::string>{}
                                                 : std::vector<std::string>{test.attachment});
  }
}

}  // namespace
}  // namespace larkspin
