// larkspin download against a real Dovecot server, cross-checked with Python's email package: for
// every demo sample and for multipart messages that Python itself writes, the attachment files
// Larkspin splits out are byte for byte what Python extracts from the same message.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "cli_runner.h"
#include "common/format.h"
#include "common/text_encoding.h"
#include "support/dovecot_server.h"
#include "support/python_check.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

namespace fs = std::filesystem;
using test_support::CliRun;
using test_support::ReadFile;
using test_support::RunLarkspin;
using test_support::RunPython;
using test_support::TempFolder;
using test_support::WriteFile;

// Writes multipart messages into the folder named on standard input, one file each, with CR LF
// line ends, and prints their paths. Names are unique across messages, since all attachments of
// an account share one folder; every attachment also carries the Content-Type name parameter, as
// mail programs write it.
const char* const kMakeMessages = R"PY(
import os, random, sys
from email.message import EmailMessage
from email.policy import default

folder = sys.stdin.read().strip()
rnd = random.Random(20260316)
policy = default.clone(linesep="\r\n")

def blob(size):
    return bytes(rnd.getrandbits(8) for _ in range(size))

def message(n, text, attachments, alternative_html=None, text_last=False):
    msg = EmailMessage()
    msg["From"] = "Python Sender <python@example.org>"
    msg["To"] = "Carla Lind <carla@example.net>"
    msg["Subject"] = "Generated message %d" % n
    msg["Date"] = "Mon, %d Mar 2026 10:%02d:00 +0100" % (n + 1, n)
    if not text_last:
        msg.set_content(text)
        if alternative_html:
            msg.add_alternative(alternative_html, subtype="html")
    for name, maintype, subtype, data in attachments:
        if msg.get_content_maintype() != "multipart":
            msg.make_mixed()
        msg.add_attachment(data, maintype=maintype, subtype=subtype, filename=name)
        msg.get_payload()[-1].set_param("name", name)
    if text_last:
        msg.add_attachment(text, disposition="inline")
    path = os.path.join(folder, "python-%02d.eml" % n)
    with open(path, "wb") as out:
        out.write(msg.as_bytes(policy=policy))
    print(path)

message(1, "Hello Carla,\nthe scan is attached.\n", [("scan-01.bin", "application", "octet-stream", blob(10000))])
message(2, "Three files for the report.\n", [
    ("figures-02.pdf", "application", "pdf", b"%PDF-1.4\n" + blob(4000)),
    ("chart-02.png", "image", "png", b"\x89PNG\r\n\x1a\n" + blob(777)),
    ("data-02.zip", "application", "zip", b"PK\x03\x04" + blob(20001))])
message(3, "Plain and rich text, and a file.\n", [("notes-03.txt", "text", "plain", "Gr\u00fc\u00dfe aus K\u00f6ln\n".encode("utf-8"))],
        alternative_html="<p>Plain and <b>rich</b> text, and a file.</p>\n")
message(4, "The text comes after the file.\n", [("first-04.bin", "application", "octet-stream", blob(3333))], text_last=True)
message(5, "Gr\u00fc\u00dfe,\nanbei die Dateien mit \u00c4nderungen.\n", [("aenderungen-05.bin", "application", "octet-stream", blob(5000))])
message(6, "Padding of every kind.\n", [("pad-06-%d.bin" % size, "application", "octet-stream", blob(size)) for size in range(1, 7)])
message(7, "One large file.\n", [("large-07.bin", "application", "octet-stream", blob(1 << 20))])
message(8, "A long file name is folded onto a line of its own.\n",
        [("a-rather-long-file-name-for-the-quarterly-report-08.pdf", "application", "pdf", blob(2500))])
message(9, "A picture shown inline.\n", [("inline-09.jpg", "image", "jpeg", b"\xff\xd8\xff\xe0" + blob(1500))])
)PY";

// Reads "classic" or "modern", an output folder and message paths (one per line) on standard
// input and writes every base64 part that has a Content-Type name into
// <folder>/<line number>/<name>. The name is the Content-Type name for Classic, and the one
// get_filename() gives (the Content-Disposition filename first, RFC 2231 decoded) for Modern.
const char* const kExtractAttachments = R"PY(
import email, email.utils, os, sys
from email.policy import default

lines = sys.stdin.read().split("\n")
modern = lines[0] == "modern"
folder = lines[1]
for number, path in enumerate(line for line in lines[2:] if line):
    target = os.path.join(folder, str(number + 1))
    os.makedirs(target)
    with open(path, "rb") as source:
        msg = email.message_from_binary_file(source, policy=default)
    for part in msg.walk():
        name = part.get_filename() if modern else part.get_param("name")
        if part.is_multipart() or not name or part.get("Content-Transfer-Encoding", "").strip().lower() != "base64":
            continue
        with open(os.path.join(target, name), "wb") as out:
            out.write(part.get_payload(decode=True))
)PY";

std::string WithCrLf(const std::string& text) {
  std::string converted;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) converted += '\r';
    converted += text[i];
  }
  return converted;
}

std::vector<std::string> SortedFiles(const std::string& folder) {
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

std::set<std::string> FileNames(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// The attachment names of each printed result line, by message number.
std::map<int, std::set<std::string>> PrintedAttachments(const std::string& out) {
  std::map<int, std::set<std::string>> attachments;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string number, result, file, names;
    std::getline(fields, number, '\t');
    std::getline(fields, result, '\t');
    std::getline(fields, file, '\t');
    std::getline(fields, names, '\t');
    std::set<std::string>& set = attachments[std::stoi(number)];
    std::istringstream list(names);
    for (std::string name; std::getline(list, name, ',');) set.insert(name);
  }
  return attachments;
}

// Run with Charsets=Classic and Modern. Classic reads no RFC 2231 names, so the samples that
// carry them are left out of its run.
class DownloadCrossCheckTest : public ::testing::TestWithParam<TextEncoding> {};

TEST_P(DownloadCrossCheckTest, AttachmentsMatchWhatPythonsEmailPackageExtracts) {
  const bool modern = GetParam() == TextEncoding::kUtf8;
  TempFolder work;
  fs::create_directories(work.File("generated"));
  int status = -1;
  std::istringstream generated(RunPython(kMakeMessages, work.File("generated"), &status));
  ASSERT_EQ(status, 0);
  std::vector<std::string> messages;
  for (const std::string& path : SortedFiles(LARKSPIN_DEMO_MESSAGES))
    if (modern || ReadFile(path).find("name*=") == std::string::npos) messages.push_back(path);
  for (std::string path; std::getline(generated, path);) messages.push_back(path);
  ASSERT_GE(messages.size(), 20u);

  test_support::DovecotServer server;
  server.AddUser("user", "secret");
  for (const std::string& path : messages) server.AddMessage("user", WithCrLf(ReadFile(path)));
  server.Start();

  WriteFile(work.File("config.ini"), test_support::ConfigFor({server.Port()}, modern ? "Charsets=Modern\r\n" : ""));
  std::vector<std::string> arguments = {"download", "--account", "1"};
  for (size_t n = 1; n <= messages.size(); ++n) arguments.push_back(std::to_string(n));
  const CliRun run = RunLarkspin(work.Path(), arguments);
  ASSERT_EQ(run.exit_status, 0) << run.err << server.LogText();

  std::string extract_input = (modern ? "modern\n" : "classic\n") + work.File("python") + "\n";
  for (const std::string& path : messages) extract_input += path + "\n";
  RunPython(kExtractAttachments, extract_input, &status);
  ASSERT_EQ(status, 0);

  const std::map<int, std::set<std::string>> printed = PrintedAttachments(run.out);
  ASSERT_EQ(printed.size(), messages.size()) << run.out;
  size_t compared = 0;
  for (size_t n = 1; n <= messages.size(); ++n) {
    const std::string python_folder = work.File("python/" + std::to_string(n));
    const std::set<std::string>& ours = printed.at(static_cast<int>(n));
    const std::set<std::string> theirs = FileNames(python_folder);
    // Modern stores every part but the text as a file; the script extracts the named base64 ones.
    if (modern)
      EXPECT_TRUE(std::includes(ours.begin(), ours.end(), theirs.begin(), theirs.end())) << messages[n - 1];
    else
      EXPECT_EQ(ours, theirs) << messages[n - 1];
    for (const std::string& name : FileNames(python_folder)) {
      EXPECT_EQ(ReadFile(work.File("mailbox1/attach/" + name)), ReadFile(python_folder + "/" + name))
          << name << " of " << messages[n - 1];
      ++compared;
    }
  }
  EXPECT_GE(compared, 16u);  // the generated messages alone hold 16 attachments
}

INSTANTIATE_TEST_SUITE_P(Charsets, DownloadCrossCheckTest, ::testing::Values(TextEncoding::kClassic, TextEncoding::kUtf8),
                         [](const auto& info) { return info.param == TextEncoding::kUtf8 ? "Modern" : "Classic"; });

}  // namespace
}  // namespace larkspin
