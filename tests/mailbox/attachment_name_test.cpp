#include "mailbox/attachment_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/windows_1252.h"

namespace larkspin {
namespace {

TEST(AttachmentNameTest, ANameIsMadeSafeForTheAttachFolderAndTheAttachmentLine) {
  const struct {
    std::string name;
    std::string safe;
  } cases[] = {
      {"invoice.pdf", "invoice.pdf"},
      {"../../etc/passwd", "passwd"},
      {"C:\\Users\\anna\\report.doc", "report.doc"},
      {"", "attachment"},
      {"..", "attachment"},
      {"sub/", "attachment"},
      {"tab\there\x7f.txt", "tab_here_.txt"},
      {"line\r\nbreak.txt", "line__break.txt"},
      {"a,b>c.txt", "a_b_c.txt"},
      {"Gr\xC3\xBC\xC3\x9F" "e.txt", "Gr\xC3\xBC\xC3\x9F" "e.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(SafeAttachmentName(c.name), c.safe) << c.name;
}

TEST(AttachmentNameTest, ALongNameIsCutOnAWholeCharacterAndKeepsItsExtension) {
  std::string stem;
  for (int i = 0; i < 150; ++i) stem += "\xC3\xBC";  // 300 bytes of "ü"
  const std::string safe = SafeAttachmentName(stem + ".pdf");
  EXPECT_EQ(safe.size(), 254u) << "254: a whole two-byte character fits, a half one would not";
  EXPECT_TRUE(safe.ends_with("\xC3\xBC.pdf"));
  EXPECT_TRUE(IsValidUtf8(safe));
  const std::string numbered = NumberedAttachmentName(safe, 12);
  EXPECT_LE(numbered.size(), kMaxAttachmentNameBytes);
  EXPECT_TRUE(numbered.ends_with("\xC3\xBC (12).pdf"));
  EXPECT_TRUE(IsValidUtf8(numbered));
}

TEST(AttachmentNameTest, ATakenNameIsNumberedBeforeItsExtension) {
  const struct {
    std::string name;
    int n;
    std::string numbered;
  } cases[] = {
      {"image001.png", 1, "image001.png"},
      {"image001.png", 2, "image001 (2).png"},
      {"archive.tar.gz", 3, "archive.tar (3).gz"},
      {"README", 2, "README (2)"},
      {".profile", 2, ".profile (2)"},
      {"notes.a-very-long-extension-indeed", 2, "notes.a-very-long-extension-indeed (2)"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberedAttachmentName(c.name, c.n), c.numbered) << c.name << " " << c.n;
}

TEST(AttachmentNameTest, OnlyANameAsItIsStoredIsAPlainFileName) {
  EXPECT_TRUE(IsPlainFileName("scan (2).pdf"));
  for (const std::string& name : std::vector<std::string>{"", "..", "a/b", "a,b", "a>b", "a\nb", std::string(256, 'x')})
    EXPECT_FALSE(IsPlainFileName(name)) << name;
}

}  // namespace
}  // namespace larkspin
