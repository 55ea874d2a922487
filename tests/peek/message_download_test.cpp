#include "peek/message_download.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "config/log.h"
#include "mime/base64.h"
#include "support/fake_pop3_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::FakePop3Server;
using test_support::ReadFile;
using test_support::Reply;
using test_support::ScopedWorkingDirectory;
using test_support::TempFolder;
using test_support::WriteFile;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

const std::string kFileId = "02_03_2004_10_11_12_+0100";
const std::string kStoredPath = "mailbox1/msg02_03_2004_10_11_12_+0100.txt";

std::string PdfBytes() {
  std::string bytes = "%PDF-1.4\n";
  for (int i = 0; i < 3000; ++i) bytes += static_cast<char>((i * 31 + 7) & 0xFF);
  return bytes;
}

std::string Headers(const std::string& content_type) {
  return "Return-Path: <j@example.org>\r\n"
         "From: =?iso-8859-1?q?J=F6rg?= <j@example.org>\r\n"
         "To: ben@example.org\r\n"
         "Date: Tue, 2 Mar 2004 10:11:12 +0100\r\n"
         "Subject: Files\r\n"
         "MIME-Version: 1.0\r\n"
         "Content-Type: " +
         content_type + "\r\n\r\n";
}

const std::string kStoredHeader =
    "From: J\xF6rg\r\nTo: ben@example.org\r\nSent: Tue, 2 Mar 2004 10:11:12 +0100\r\nSubject: Files\r\nPriority: \r\n\r\n";

const std::string kTextPart =
    "\r\nContent-Type: text/plain; charset=iso-8859-1\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
    "Gr=FC=DFe\r\n--";

std::string AttachmentPart(const std::string& name, const std::string& bytes) {
  return "\r\nContent-Type: application/octet-stream; name=\"" + name +
         "\"\r\nContent-Transfer-Encoding: base64\r\n\r\n" + Base64Codec().EncodeLines(bytes) + "--";
}

std::string MixedMessage(const std::vector<std::string>& parts) {
  std::string message = Headers("multipart/mixed; boundary=\"XYZ\"") + "This is a multi-part message in MIME format.\r\n--";
  for (const std::string& part : parts) message += "XYZ" + part;
  return message + "XYZ--\r\n";
}

class MessageDownloadTest : public ::testing::Test {
 protected:
  MessageDownloadTest() : in_folder_(folder_.Path()) {
    std::filesystem::create_directories("mailbox1/attach");
    OpenLog("larkspin.log");
    row.message_number = 1;
    row.account_number = 1;
    row.file_id = kFileId;
  }
  ~MessageDownloadTest() override { CloseLog(); }

  void ConnectServing(const std::string& message) {
    server.ServeMailbox({message});
    EXPECT_TRUE(client.Connect("127.0.0.1", "user", "pw", server.Port())) << client.LastReply();
  }

  DownloadResult Download(const std::string& message) {
    ConnectServing(message);
    return DownloadMessage(client, {&row, 1, true});
  }

  std::vector<std::string> LogMessages() const {
    std::vector<std::string> messages;
    std::istringstream log(ReadFile("larkspin.log"));
    for (std::string line; std::getline(log, line);) messages.push_back(line.substr(line.find(" \t") + 2));
    return messages;
  }

  TempFolder folder_;
  ScopedWorkingDirectory in_folder_;
  FakePop3Server server;
  CPop3Client client;
  HeaderRow row;
};

TEST_F(MessageDownloadTest, MixedMessageStoresItsTextAndSplitsItsAttachments) {
  const std::string text = "first attachment\r\n";
  const DownloadResult result =
      Download(MixedMessage({kTextPart, AttachmentPart("a.txt", text), AttachmentPart("b.pdf", PdfBytes())}));
  EXPECT_EQ(result.code, 2);
  EXPECT_TRUE(result.stored);
  EXPECT_THAT(result.notices, IsEmpty());
  EXPECT_EQ(row.local_file, kStoredPath);
  EXPECT_THAT(row.attachments, ElementsAre("a.txt", "b.pdf"));
  EXPECT_EQ(ReadFile(kStoredPath), kStoredHeader +
                                       "\r\nContent-Type: text/plain; charset=iso-8859-1\r\n"
                                       "Content-Transfer-Encoding: quoted-printable\r\n\r\nGr\xFC\xDF"
                                       "e\r\n--\r\r\n<<Attachments: a.txt,b.pdf,>>");
  EXPECT_EQ(ReadFile("mailbox1/attach/a.txt"), text);
  EXPECT_EQ(ReadFile("mailbox1/attach/b.pdf"), PdfBytes());
  EXPECT_FALSE(std::filesystem::exists("mailbox1/larkspin.tmp"));
  EXPECT_THAT(LogMessages(), ElementsAre("found multipart/mixed Files", "Launching MIME decoder",
                                         "Section  not MIME base64", "Creating file 'a.txt'", "Creating file 'b.pdf'"));
}

TEST_F(MessageDownloadTest, MixedMessageWithAShorterLastPartStoresTheLastPart) {
  const std::string last = "\r\nContent-Type: text/plain\r\n\r\nSee above.\r\n--";
  const DownloadResult result = Download(MixedMessage({AttachmentPart("big.bin", PdfBytes()), last}));
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(ReadFile(kStoredPath), kStoredHeader + last + "\r\r\n<<Attachments: big.bin,>>");
}

TEST_F(MessageDownloadTest, HtmlMessageIsStoredWithoutTags) {
  const DownloadResult result =
      Download(Headers("Text/HTML; charset=\"iso-8859-1\"") + "<html><body>Gr=FC=DFe<br>aus<br/>K=F6ln&nbsp;!</body></html>\r\n");
  EXPECT_EQ(result.code, 0);
  EXPECT_TRUE(result.stored);
  EXPECT_EQ(ReadFile(kStoredPath), kStoredHeader + "Gr\xFC\xDF"
                                                   "e\nausK\xF6ln !");
  EXPECT_THAT(LogMessages(), ElementsAre("found text/html Files"));
  EXPECT_THAT(row.attachments, IsEmpty());
}

TEST_F(MessageDownloadTest, AlternativeMessageStoresItsFirstPartAndSplitsNothing) {
  const std::string body =
      "--ALT\r\nContent-Type: text/plain\r\n\r\nPlain text.\r\n--ALT\r\nContent-Type: text/html\r\n\r\n<p>Html.</p>\r\n"
      "--ALT--\r\n";
  const DownloadResult result = Download(Headers("multipart/alternative;\r\n\tboundary=\"ALT\"") + body);
  EXPECT_EQ(result.code, 0);
  EXPECT_EQ(ReadFile(kStoredPath), kStoredHeader + "\r\nContent-Type: text/plain\r\n\r\nPlain text.\r\n--");
  EXPECT_THAT(LogMessages(), ElementsAre("found multipart/alternative Files"));
}

TEST_F(MessageDownloadTest, PlainMessageKeepsCcAndPriorityAndDecodesItsText) {
  const DownloadResult result = Download(
      "From: Anna <anna@example.org>\r\nTo: ben@example.org\r\nCc: cleo@example.org,\r\n\tdan@example.org\r\n"
      "Date: Tue, 2 Mar 2004 10:11:12 +0100\r\nSubject: =?ISO-8859-1?Q?=DCber?= uns\r\nX-Priority: 1 (Highest)\r\n\r\n"
      "Line one=\r\ncontinued=2E\r\n");
  EXPECT_EQ(result.code, 0);
  EXPECT_EQ(ReadFile(kStoredPath),
            "From: Anna <anna@example.org>\r\nTo: ben@example.org\r\nCc: cleo@example.org, dan@example.org\r\n"
            "Sent: Tue, 2 Mar 2004 10:11:12 +0100\r\nSubject: \xDC"
            "ber\r\nPriority: 1 (Highest)\r\n\r\nLine one\r\ncontinued.");
  EXPECT_THAT(LogMessages(), IsEmpty());
}

TEST_F(MessageDownloadTest, ARowWithoutRecordOrAlreadyDownloadedIsLeftAlone) {
  ConnectServing(Headers("text/plain") + "x\r\n");
  EXPECT_EQ(DownloadMessage(client, {nullptr, 1, false}).code, kDownloadSkipped);
  row.local_file = "mailbox1/msgold.txt";
  const DownloadResult result = DownloadMessage(client, {&row, 1, false});
  EXPECT_EQ(result.code, kDownloadSkipped);
  EXPECT_FALSE(result.stored);
  client.Disconnect();
  EXPECT_THAT(server.ReceivedLines(), ElementsAre("CAPA", "USER user", "PASS pw", "QUIT"));
}

TEST_F(MessageDownloadTest, WithoutConnectionTheUserIsAskedToConnectFirst) {
  const DownloadResult result = DownloadMessage(client, {&row, 1, false});
  EXPECT_EQ(result.code, kDownloadNotConnected);
  ASSERT_EQ(result.notices.size(), 2u);
  EXPECT_EQ(result.notices[0].kind, DownloadNotice::Kind::kStatus);
  EXPECT_EQ(result.notices[0].text, "Connect first to download this message.");
  EXPECT_EQ(result.notices[1].kind, DownloadNotice::Kind::kMessageBox);
  EXPECT_EQ(result.notices[1].text, "Connect first to download this message.");
  EXPECT_EQ(result.notices[1].language_key, "ConnectFirst") << "the window shows it from language.ini";
  EXPECT_EQ(row.local_file, "");
}

TEST_F(MessageDownloadTest, AFailedRetrieveLeavesTheRowUnchanged) {
  ConnectServing(Headers("text/plain") + "x\r\n");
  server.On("RETR", Reply("-ERR no such message\r\n"));
  client.read_timeout_ms = 200;
  const DownloadResult result = DownloadMessage(client, {&row, 1, false});
  EXPECT_EQ(result.code, 0);
  EXPECT_FALSE(result.stored);
  ASSERT_EQ(result.notices.size(), 1u);
  EXPECT_EQ(result.notices[0].text, "Error: Retrieving message");
  EXPECT_EQ(row.local_file, "");
  EXPECT_FALSE(std::filesystem::exists(kStoredPath));
}

TEST_F(MessageDownloadTest, AMessageFileThatCannotBeCreatedLeavesTheMessageNotDownloaded) {
  std::filesystem::remove_all("mailbox1");
  const DownloadResult result = Download(Headers("text/plain") + "x\r\n");
  EXPECT_EQ(result.code, 0);
  EXPECT_FALSE(result.stored);
  ASSERT_EQ(result.notices.size(), 1u);
  EXPECT_EQ(result.notices[0].kind, DownloadNotice::Kind::kMessageBox);
  EXPECT_EQ(result.notices[0].text, "Error: Open file for writing: " + kStoredPath);
  // The row can be downloaded again once the folder is back.
  EXPECT_EQ(row.local_file, "");
}

TEST_F(MessageDownloadTest, ASecondMessageWithTheSameDateGetsAFileOfItsOwnAndIsRecorded) {
  WriteFile(kStoredPath, "an older message with the same date");
  row.identity = {"uid-7", 4711, "<m7@example.org>"};
  const DownloadResult result = Download(Headers("text/plain") + "new text\r\n");
  EXPECT_TRUE(result.stored);
  EXPECT_EQ(row.local_file, "mailbox1/msg02_03_2004_10_11_12_+0100_2.txt");
  EXPECT_EQ(ReadFile(kStoredPath), "an older message with the same date");
  EXPECT_EQ(ReadFile(row.local_file), kStoredHeader + "new text");
  EXPECT_EQ(ReadFile("mailbox1/stored.list"), "uid-7\t<m7@example.org>\t\t4711\tmsg02_03_2004_10_11_12_+0100_2.txt\n");
}

TEST_F(MessageDownloadTest, TheFileIsNamedFromTheMessageWhereTheRowHasNoDate) {
  ConnectServing(Headers("text/plain") + "listed without its header\r\n");
  row.file_id.clear();
  EXPECT_TRUE(DownloadMessage(client, {&row, 1, true}).stored);
  EXPECT_EQ(row.local_file, kStoredPath);
  server.ServeMailbox({"From: a@example.org\r\nSubject: no date\r\n\r\ntext\r\n"});
  client.Disconnect();
  ASSERT_TRUE(client.Connect("127.0.0.1", "user", "pw", server.Port()));
  HeaderRow undated;
  undated.message_number = 1;
  undated.file_id = "_00__";
  EXPECT_TRUE(DownloadMessage(client, {&undated, 1, true, TextEncoding::kUtf8}).stored);
  EXPECT_TRUE(undated.local_file.starts_with("mailbox1/msg_nodate_1_")) << undated.local_file;
}

TEST_F(MessageDownloadTest, AnAttachmentThatCannotBeStoredLeavesTheMessageNotWhole) {
  std::filesystem::remove_all("mailbox1/attach");
  const DownloadResult result = Download(MixedMessage({kTextPart, AttachmentPart("a.txt", "lost")}));
  EXPECT_TRUE(result.stored);
  EXPECT_FALSE(result.whole);
  EXPECT_THAT(row.attachments, IsEmpty());
}

TEST_F(MessageDownloadTest, ModernModeStoresThePlainTextAndEveryOtherPartAsAFileOfItsOwn) {
  // The line end before the delimiter belongs to the delimiter, not to the forwarded message.
  const std::string forwarded = "From: c@example.org\r\nSubject: Fwd\r\n\r\n.the forwarded text";
  const std::string message =
      Headers("multipart/mixed; boundary=MIX") + "--MIX\r\nContent-Type: multipart/alternative; boundary=\"ALT\"\r\n\r\n"
      "--ALT\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
      "Gr=C3=BC=C3=9Fe=\r\n--ALT\r\nContent-Type: text/html\r\n\r\n<p>Gr&uuml;&szlig;e</p>\r\n--ALT--\r\n"
      "--MIX\r\nContent-Type: image/png\r\nContent-Transfer-Encoding: base64\r\n\r\n" +
      Base64Codec().EncodeLines("PNG bytes") +
      "--MIX\r\nContent-Type: application/pdf; name=invoice.pdf\r\nContent-Transfer-Encoding: 8bit\r\n\r\n%PDF one\r\n"
      "--MIX\r\nContent-Type: application/pdf\r\nContent-Disposition: attachment; filename=\"invoice.pdf\"\r\n\r\n"
      "%PDF two\r\n--MIX\r\nContent-Type: message/rfc822\r\n\r\n" + forwarded + "\r\n--MIX--\r\n";
  ConnectServing(message);
  DownloadRequest request{&row, 1, true, TextEncoding::kUtf8};
  const DownloadResult result = DownloadMessage(client, request);
  EXPECT_TRUE(result.stored);
  EXPECT_TRUE(result.whole);
  EXPECT_EQ(result.code, 5);
  EXPECT_THAT(row.attachments, ElementsAre("part-2.html", "part-3.png", "invoice.pdf", "invoice (2).pdf", "part-6.eml"));
  EXPECT_EQ(ReadFile(kStoredPath),
            "From: J\xC3\xB6rg <j@example.org>\r\nTo: ben@example.org\r\nSent: Tue, 2 Mar 2004 10:11:12 +0100\r\n"
            "Subject: Files\r\nPriority: \r\n\r\nGr\xC3\xBC\xC3\x9F" "e\r\r\n<<Attachments: part-2.html,part-3.png,invoice.pdf,invoice (2).pdf,part-6.eml,>>");
  EXPECT_EQ(ReadFile("mailbox1/attach/part-3.png"), "PNG bytes");
  EXPECT_EQ(ReadFile("mailbox1/attach/invoice.pdf"), "%PDF one");
  EXPECT_EQ(ReadFile("mailbox1/attach/invoice (2).pdf"), "%PDF two");
  EXPECT_EQ(ReadFile("mailbox1/attach/part-6.eml"), forwarded);
}

TEST_F(MessageDownloadTest, ModernModeStoresAnAttachmentOnlyMessageWithAnEmptyText) {
  ConnectServing(Headers("application/pdf; name=\"scan.pdf\"\r\nContent-Transfer-Encoding: base64") +
                 Base64Codec().EncodeLines(PdfBytes()));
  const DownloadResult result = DownloadMessage(client, {&row, 1, true, TextEncoding::kUtf8});
  EXPECT_EQ(result.code, 1);
  EXPECT_THAT(ReadFile(kStoredPath), ::testing::EndsWith("Priority: \r\n\r\n\r\r\n<<Attachments: scan.pdf,>>"));
  EXPECT_EQ(ReadFile("mailbox1/attach/scan.pdf"), PdfBytes());
}

}  // namespace
}  // namespace larkspin
