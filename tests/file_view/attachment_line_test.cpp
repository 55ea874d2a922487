#include "file_view/attachment_line.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

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
