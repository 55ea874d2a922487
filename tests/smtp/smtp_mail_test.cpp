// The outgoing message: header block, MIME switching and the rendering of its parts.
#include "smtp/smtp_mail.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::TempFolder;
using test_support::WriteFile;

std::tm SampleTime(long seconds_east) {
  std::tm time{};
  time.tm_year = 2026 - 1900;
  time.tm_mon = 11;
  time.tm_mday = 7;
  time.tm_wday = 1;
  time.tm_hour = 10;
  time.tm_min = 48;
  time.tm_sec = 37;
  time.tm_gmtoff = seconds_east;
  return time;
}

TEST(CSMTPRecipientTest, RendersNameAndAddress) {
  EXPECT_EQ(CSMTPRecipient("", "a@b.c").GetRecipientText(true, "iso-8859-1"), "a@b.c");
  EXPECT_EQ(CSMTPRecipient("Ann Lee", "a@b.c").GetRecipientText(true, "iso-8859-1"), "Ann Lee <a@b.c>");
  EXPECT_EQ(CSMTPRecipient("J\xFCrgen", "j@b.c").GetRecipientText(true, "iso-8859-1"),
            "=?iso-8859-1?q?J=FCrgen?= <j@b.c>");
  EXPECT_EQ(CSMTPRecipient("J\xFCrgen", "j@b.c").GetRecipientText(false, "iso-8859-1"), "J\xFCrgen <j@b.c>");
}

TEST(CSMTPMailTest, SinglePartHeaderInItsOrder) {
  CSMTPMail mail;
  mail.SetFrom(CSMTPRecipient("Ann Lee", "ann@example.org"));
  mail.AddRecipient(CSMTPRecipient("bob@example.org", "bob@example.org"), kRecipientTo);
  mail.AddRecipient(CSMTPRecipient("", "carl@example.org"), kRecipientTo);
  mail.AddRecipient(CSMTPRecipient("", "hidden@example.org"), kRecipientBcc);
  mail.SetSubject("Hello");
  mail.SetReplyTo(CSMTPRecipient("Ann Lee", "reply@example.org"));
  mail.AddExtraHeader("X-Priority: 3");
  mail.SetReplyIds("<b@x>", "<a@x> <b@x>");
  EXPECT_EQ(mail.RenderHeaderAt(SampleTime(3600)),
            "From: Ann Lee <ann@example.org>\r\n"
            "To: bob@example.org <bob@example.org>, carl@example.org\r\n"
            "Subject: Hello\r\n"
            "X-Mailer: CSMTPConnection v2.37\r\n"
            "Content-Type: text/plain;\r\n\tcharset=iso-8859-1\r\n"
            "Reply-To: Ann Lee <reply@example.org>\r\n"
            "Date: Mon, 07 Dec 2026 10:48:37 +0100\r\n"
            "In-Reply-To: <b@x>\r\nReferences: <a@x> <b@x>\r\n"
            "X-Priority: 3\r\n");
}

TEST(CSMTPMailTest, CcLineOnlyWithCcRecipientsToLineAlways) {
  CSMTPMail mail;
  mail.SetMailer("");
  std::string header = mail.RenderHeaderAt(SampleTime(0));
  EXPECT_NE(header.find("\r\nTo: \r\n"), std::string::npos);
  EXPECT_EQ(header.find("Cc:"), std::string::npos);
  EXPECT_EQ(header.find("X-Mailer"), std::string::npos);
  EXPECT_EQ(header.find("Reply-To"), std::string::npos);
  mail.AddRecipient(CSMTPRecipient("", "c@d.e"), kRecipientCc);
  header = mail.RenderHeaderAt(SampleTime(0));
  EXPECT_NE(header.find("\r\nCc: c@d.e\r\nSubject: "), std::string::npos);
}

TEST(CSMTPMailTest, LineBreaksInTypedValuesNeverStartAHeaderLine) {
  CSMTPMail mail;
  mail.SetFrom(CSMTPRecipient("Ann\r\nBcc: victim@x.y", "ann@x.y"));
  mail.AddRecipient(CSMTPRecipient("", "bob@x.y\r\nX-Injected: 1"), kRecipientTo);
  mail.SetSubject("Hi\nX-Injected: 2");
  mail.SetSubject("Gr\xFC\xDF\r\nX-Injected: 3");
  mail.AddExtraHeader("X-Priority: 3\rX-Injected: 4");
  mail.SetReplyTo(CSMTPRecipient("R\n", "r@x.y\r\n"));
  const std::string header = mail.RenderHeaderAt(SampleTime(0));
  for (size_t start = 0, end; (end = header.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = header.substr(start, end - start);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    EXPECT_FALSE(line.starts_with("X-Injected") || line.starts_with("Bcc")) << line;
  }
  EXPECT_NE(header.find("Subject: =?iso-8859-1?q?Gr=FC=DF_X-Injected:_3?=\r\n"), std::string::npos);
}

TEST(CSMTPMailTest, AttachmentFirstLeavesTheTextAsTheLastChild) {
  TempFolder folder;
  WriteFile(folder.File("a.bin"), "data");
  CSMTPPart attachment;
  ASSERT_TRUE(attachment.AttachFile(folder.File("a.bin")));
  CSMTPMail mail;
  EXPECT_EQ(mail.AttachPart(attachment), 0);
  mail.EnableMime(true);
  mail.SetText("Hello\n");
  ASSERT_EQ(mail.Root().ChildCount(), 2);
  EXPECT_EQ(mail.Root().Child(0)->Title(), "a.bin");
  EXPECT_EQ(mail.Root().Child(0)->ContentType(), "application/octet-stream");
  EXPECT_EQ(mail.Root().Child(1)->ContentType(), "text/plain");
  EXPECT_EQ(mail.Root().Child(1)->Text(), "Hello\r\n");
  EXPECT_EQ(mail.Root().ContentType(), "multipart/mixed");
  EXPECT_EQ(mail.GetText(), CSMTPMail::kMultipartPreamble);
  // A second SetText replaces the text child's text.
  mail.SetText("Again");
  EXPECT_EQ(mail.Root().ChildCount(), 2);
  EXPECT_EQ(mail.Root().Child(1)->Text(), "Again");
}

TEST(CSMTPMailTest, TextFirstMovesIntoTheFirstChildWhichCarriesTheTransferEncoding) {
  TempFolder folder;
  WriteFile(folder.File("b.txt"), "x");
  CSMTPPart attachment;
  ASSERT_TRUE(attachment.AttachFile(folder.File("b.txt")));
  CSMTPMail mail;
  mail.SetText("Body");
  EXPECT_FALSE(mail.MimeEnabled());
  mail.AttachPart(attachment);
  ASSERT_EQ(mail.Root().ChildCount(), 2);
  EXPECT_EQ(mail.Root().Child(0)->Text(), "Body");
  EXPECT_EQ(mail.Root().Child(1)->Title(), "b.txt");
  const std::string header = mail.RenderHeaderAt(SampleTime(0));
  EXPECT_EQ(header.find("Content-Transfer-Encoding"), std::string::npos);  // a multipart is 7bit
  EXPECT_NE(header.find("MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"" + mail.Root().Boundary() +
                        "\"\r\n"),
            std::string::npos);
  std::string text_header;
  ASSERT_TRUE(mail.Root().Child(0)->RenderPartHeader(text_header));
  EXPECT_NE(text_header.find("Content-Transfer-Encoding: quoted-printable\r\n"), std::string::npos);
}

TEST(CSMTPMailTest, RecipientListsByType) {
  CSMTPMail mail;
  EXPECT_EQ(mail.AddRecipient(CSMTPRecipient("", "a@b"), kRecipientCc), 0);
  EXPECT_EQ(mail.AddRecipient(CSMTPRecipient("", "c@d"), kRecipientCc), 1);
  EXPECT_EQ(mail.AddRecipient(CSMTPRecipient("", "e@f"), 3), -1);
  EXPECT_EQ(mail.RecipientCount(kRecipientCc), 2);
  EXPECT_EQ(mail.RecipientCount(kRecipientTo), 0);
  EXPECT_EQ(mail.Recipient(kRecipientCc, 1).Address(), "c@d");
}

TEST(CSMTPPartTest, CopiesAreDeepWithTheirOwnParentLinks) {
  CSMTPPart root;
  CSMTPPart child;
  child.SetText("inner");
  root.AddSubPart(child);
  root.Child(0)->AddSubPart(child);
  const CSMTPPart copy(root);
  EXPECT_EQ(copy.Boundary(), root.Boundary());
  ASSERT_EQ(copy.ChildCount(), 1);
  EXPECT_EQ(copy.Child(0)->Parent(), &copy);
  EXPECT_EQ(copy.Child(0)->Child(0)->Parent(), copy.Child(0));
  EXPECT_NE(copy.Child(0), root.Child(0));
  EXPECT_EQ(copy.Child(0)->Child(0)->Text(), "inner");
  EXPECT_NE(CSMTPPart().Boundary(), CSMTPPart().Boundary());
  EXPECT_EQ(CSMTPPart().Boundary().size(), 36u);
}

TEST(CSMTPPartTest, AttachFileRefusesAMissingFile) {
  CSMTPPart part;
  EXPECT_FALSE(part.AttachFile("/nonexistent/file.txt"));
  EXPECT_FALSE(part.IsAttachment());
  EXPECT_EQ(part.ContentType(), "text/plain");
}

TEST(CSMTPPartTest, PartHeadersByKind) {
  TempFolder folder;
  WriteFile(folder.File("r.pdf"), "");
  CSMTPPart root;
  CSMTPPart attachment;
  ASSERT_TRUE(attachment.AttachFile(folder.File("r.pdf")));
  root.AddSubPart(attachment);
  CSMTPPart text;
  text.SetText("t");
  root.AddSubPart(text);
  const std::string p = root.Boundary();
  std::string header;
  ASSERT_TRUE(root.Child(0)->RenderPartHeader(header));
  EXPECT_EQ(header, "\r\n\r\n--" + p +
                        "\r\nContent-Type: application/octet-stream; charset=iso-8859-1; name=r.pdf\r\n"
                        "Content-Transfer-Encoding: base64\r\nContent-Disposition: attachment; filename=\"r.pdf\"\r\n\r\n");
  ASSERT_TRUE(root.Child(1)->RenderPartHeader(header));
  EXPECT_EQ(header, "\r\n--" + p +
                        "\r\nContent-Type: text/plain; charset=iso-8859-1\r\n"
                        "Content-Transfer-Encoding: quoted-printable\r\n\r\n");
  root.Child(1)->SetBase64(true);
  root.Child(1)->SetContentId("<id@x>");
  ASSERT_TRUE(root.Child(1)->RenderPartHeader(header));
  EXPECT_EQ(header, "\r\n--" + p +
                        "\r\nContent-Type: text/plain; charset=iso-8859-1\r\n"
                        "Content-Transfer-Encoding: base64\r\nContent-ID: <id@x>\r\n\r\n");
  root.Child(1)->SetBase64(false);
  root.Child(1)->SetQuotedPrintable(false);
  root.Child(1)->AddSubPart(CSMTPPart());
  ASSERT_TRUE(root.Child(1)->RenderPartHeader(header));
  EXPECT_EQ(header, "\r\n--" + p + "\r\nContent-Type: text/plain; charset=iso-8859-1;\r\n Boundary=\"" +
                        root.Child(1)->Boundary() + "\"\r\nContent-ID: <id@x>\r\n\r\n");
  EXPECT_FALSE(root.RenderPartHeader(header));
  ASSERT_TRUE(root.RenderPartFooter(header));
  EXPECT_EQ(header, "\r\n--" + p + "--");
}

TEST(CSMTPPartTest, BodiesByKind) {
  TempFolder folder;
  WriteFile(folder.File("57.bin"), std::string(57, 'q'));
  WriteFile(folder.File("empty.bin"), "");
  CSMTPPart part;
  std::string body;
  ASSERT_TRUE(part.AttachFile(folder.File("57.bin")));
  ASSERT_TRUE(part.RenderPartBody(body));
  EXPECT_EQ(body.size(), 78u);
  EXPECT_TRUE(body.ends_with("\r\n"));
  ASSERT_TRUE(part.AttachFile(folder.File("empty.bin")));
  ASSERT_TRUE(part.RenderPartBody(body));
  EXPECT_EQ(body, "");
  std::remove(folder.File("empty.bin").c_str());
  EXPECT_FALSE(part.RenderPartBody(body));

  CSMTPPart text;
  text.SetText(".first\n.\nGr\xFC\xDF");
  ASSERT_TRUE(text.RenderPartBody(body));
  EXPECT_EQ(body, "..first\r\n..\r\nGr=FC=DF");
  text.SetQuotedPrintable(false);
  ASSERT_TRUE(text.RenderPartBody(body));
  EXPECT_EQ(body, "..first\r\n..\r\nGr\xFC\xDF");
  text.SetCharset("utf-8");
  ASSERT_TRUE(text.RenderPartBody(body));
  EXPECT_EQ(body, "..first\r\n..\r\nGr\xC3\xBC\xC3\x9F");
  text.SetBase64(true);
  ASSERT_TRUE(text.RenderPartBody(body));
  EXPECT_EQ(body, "LmZpcnN0DQouDQpHcsO8w58=\r\n");
}

}  // namespace
}  // namespace larkspin
