#include "mailbox/message_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "mailbox/mailbox_layout.h"

namespace larkspin {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

StoredMessageHeader FullHeader() {
  StoredMessageHeader header;
  header.from = "Anna <anna@example.org>";
  header.to = "ben@example.org";
  header.cc = "cleo@example.org";
  header.sent = "Tue, 2 Mar 2004 10:11:12 +0100";
  header.subject = "Gr\xFC\xDF"
                   "e";
  header.priority = "3 (Normal)";
  return header;
}

TEST(MailboxLayoutTest, FoldersAndFilesOfAnAccount) {
  EXPECT_EQ(AccountFolder(2), "mailbox2");
  EXPECT_EQ(SentFolder(2), "mailbox2/sent");
  EXPECT_EQ(AttachFolder(2), "mailbox2/attach/");
  EXPECT_EQ(MessageFilePath(2, "02_03_2004_10_11_12_+0100"), "mailbox2/msg02_03_2004_10_11_12_+0100.txt");
  EXPECT_EQ(SplitTempFilePath(12), "mailbox12/larkspin.tmp");
}

TEST(MessageFileTest, HeaderLinesAreWrittenByteForByte) {
  EXPECT_EQ(StoredHeaderLines(FullHeader()),
            "From: Anna <anna@example.org>\r\n"
            "To: ben@example.org\r\n"
            "Cc: cleo@example.org\r\n"
            "Sent: Tue, 2 Mar 2004 10:11:12 +0100\r\n"
            "Subject: Gr\xFC\xDF"
            "e\r\n"
            "Priority: 3 (Normal)\r\n"
            "\r\n");
}

TEST(MessageFileTest, CcLineOnlyWhenSetAndPriorityLineAlways) {
  StoredMessageHeader header = FullHeader();
  header.cc.clear();
  header.priority.clear();
  EXPECT_EQ(StoredHeaderLines(header),
            "From: Anna <anna@example.org>\r\n"
            "To: ben@example.org\r\n"
            "Sent: Tue, 2 Mar 2004 10:11:12 +0100\r\n"
            "Subject: Gr\xFC\xDF"
            "e\r\n"
            "Priority: \r\n"
            "\r\n");
}

TEST(MessageFileTest, AttachmentLineEndsEveryNameWithAComma) {
  EXPECT_EQ(AttachmentLine({"a.txt", "b.pdf"}), "\r\r\n<<Attachments: a.txt,b.pdf,>>");
  EXPECT_EQ(AttachmentLine({}), "\r\r\n<<Attachments: >>");
}

TEST(MessageFileTest, FieldsAndAttachmentNamesReadBack) {
  const std::string content =
      StoredHeaderLines(FullHeader()) + "Hello,\r\nSubject: not this one\r\n" + AttachmentLine({"a.txt", "b.pdf"});
  EXPECT_EQ(StoredField(content, kFromLabel), "Anna <anna@example.org>");
  EXPECT_EQ(StoredField(content, kToLabel), "ben@example.org");
  EXPECT_EQ(StoredField(content, kSentLabel), "Tue, 2 Mar 2004 10:11:12 +0100");
  EXPECT_EQ(StoredField(content, kSubjectLabel), "Gr\xFC\xDF"
                                                 "e");
  EXPECT_THAT(StoredAttachmentNames(content), ElementsAre("a.txt", "b.pdf"));
}

TEST(MessageFileTest, MissingFieldsAndListsReadAsEmpty) {
  EXPECT_EQ(StoredField("To: x\r\n", kFromLabel), "");
  EXPECT_EQ(StoredField("From: no line end", kFromLabel), "no line end");
  EXPECT_THAT(StoredAttachmentNames("From: a\r\n\r\ntext"), IsEmpty());
  // A sent copy's list is the typed text.
  EXPECT_THAT(StoredAttachmentNames("\r\n<<Attachments: >>"), IsEmpty());
  EXPECT_THAT(StoredAttachmentNames("<<Attachments: one.txt>>"), ElementsAre("one.txt"));
}

TEST(MessageFileTest, AttachmentNamesAreSplitAtCommasWithEmptyPiecesLeftOutAndBlanksKept) {
  const struct {
    const char* text;
    std::vector<std::string> names;
  } cases[] = {
      {"body\r\n<<Attachments: b.pdf,a.png,>>\r\n", {"b.pdf", "a.png"}},
      {"<<Attachments: one.txt, two.txt>>", {"one.txt", " two.txt"}},
      {"<<Attachments: x,,y,>>", {"x", "y"}},
      {"<<Attachments: >>", {}},
      {"no attachment line", {}},
      {"<<Attachments: never closed", {}},
      {"<<Attachments: first,>> then <<Attachments: second,>>", {"first"}},
  };
  for (const auto& c : cases) EXPECT_EQ(StoredAttachmentNames(c.text), c.names) << c.text;
}

}  // namespace
}  // namespace larkspin
