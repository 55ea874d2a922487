#include "file_view/attachment_line.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

TEST(ListedAttachmentsTest, NamesAreSplitAtCommasWithEmptyPiecesLeftOutAndBlanksKept) {
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
  for (const auto& c : cases) EXPECT_EQ(ListedAttachments(c.text), c.names) << c.text;
}

TEST(AttachmentPathTest, AReceivedMessageOpensOnlyFilesDirectlyInTheAttachFolder) {
  const struct {
    const char* folder;
    const char* name;
    const char* path;
  } cases[] = {
      {"/w/mailbox1", "report.pdf", "/w/mailbox1/attach/report.pdf"},
      {"/w/mailbox1", " two.txt", "/w/mailbox1/attach/ two.txt"},
      {"/w/mailbox1", "../config.ini", ""},
      {"/w/mailbox1", "/etc/passwd", ""},
      {"/w/mailbox1", "sub/file", ""},
      {"/w/mailbox1", "..\\config.ini", ""},
      {"/w/mailbox1", "..", ""},
      {"/w/mailbox1", ".", ""},
      {"/w/mailbox1", "bell\a.txt", ""},
      {"", "/home/anna/minutes.pdf", "/home/anna/minutes.pdf"},
      {"", "../relative.txt", "../relative.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(AttachmentPath(c.folder, c.name), c.path) << c.folder << " " << c.name;
}

}  // namespace
}  // namespace larkspin
