// Draft files: the sent copy's layout with the fields as typed, read back unchanged, and a file
// of its own for every draft.
#include "compose/draft_file.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::ScopedWorkingDirectory;
using test_support::TempFolder;

std::tm NinthOfMarch() {
  std::tm local{};
  local.tm_mday = 9;
  local.tm_mon = 2;
  local.tm_year = 2026 - 1900;
  local.tm_hour = 8;
  local.tm_min = 7;
  local.tm_sec = 6;
  return local;
}

TEST(DraftFileTest, IsLaidOutAsASentCopyOfTheTypedFields) {
  ComposedMail mail;
  mail.to = "Bob <bob@example.org>; carl@example.org";
  mail.cc = "";
  mail.bcc = "dora@example.org";
  mail.subject = "Plans";
  mail.text = "Hello\r\n";
  mail.attachments = "a.txt,b.pdf";
  EXPECT_EQ(RenderDraft(mail, NinthOfMarch()),
            "To: Bob <bob@example.org>; carl@example.org\r\nCc: \r\nBcc: dora@example.org\r\n"
            "Sent: 09.03.2026.08.07.06\r\nSubject: Plans\r\n\r\nHello\r\n\r\n\r\n<<Attachments: a.txt,b.pdf>>\r\n");
}

TEST(DraftFileTest, EveryFieldIsReadBackAsTyped) {
  const struct {
    const char* name;
    ComposedMail mail;
  } cases[] = {
      {"all empty", {}},
      {"commas with and without blanks", {"a@x.org,b@x.org, c@x.org", "d@x.org ,e@x.org", "f@x.org;g@x.org", "S, T", kPriorityNormal, "t", "/tmp/a b.txt,/tmp/c.txt"}},
      {"text that looks like the end of a draft",
       {"a@x.org", "", "", "Subject: no", kPriorityNormal, "one\r\n\r\n<<Attachments: fake>>\r\ntwo\r\n\r\n", ""}},
      {"text without line ends and Windows-1252 bytes", {"a@x.org", "", "", "Gr\xFC\xDF" "e", kPriorityNormal, "\xE4\xF6", "x.txt"}},
  };
  for (const auto& c : cases) {
    const ComposedMail read = ReadDraft(RenderDraft(c.mail, NinthOfMarch()));
    EXPECT_EQ(read.to, c.mail.to) << c.name;
    EXPECT_EQ(read.cc, c.mail.cc) << c.name;
    EXPECT_EQ(read.bcc, c.mail.bcc) << c.name;
    EXPECT_EQ(read.subject, c.mail.subject) << c.name;
    EXPECT_EQ(read.text, c.mail.text) << c.name;
    EXPECT_EQ(read.attachments, c.mail.attachments) << c.name;
  }
}

TEST(DraftFileTest, ALineBreakInAOneLineFieldIsKeptAsABlank) {
  ComposedMail mail;
  mail.to = "a@x.org\r\nBcc: evil@x.org";
  mail.subject = "two\nlines";
  const ComposedMail read = ReadDraft(RenderDraft(mail, NinthOfMarch()));
  EXPECT_EQ(read.to, "a@x.org  Bcc: evil@x.org");
  EXPECT_EQ(read.bcc, "");
  EXPECT_EQ(read.subject, "two lines");
}

TEST(DraftFileTest, AFileWithoutAttachmentsLineGivesAllThatFollowsTheHeaderAsText) {
  const ComposedMail read = ReadDraft("To: a@x.org\r\nCc: \r\nBcc: \r\nSent: 1\r\nSubject: S\r\n\r\nbody");
  EXPECT_EQ(read.to, "a@x.org");
  EXPECT_EQ(read.text, "body");
  EXPECT_EQ(read.attachments, "");
}

TEST(DraftFileTest, DraftsSavedInOneSecondGetAFileEach) {
  TempFolder folder;
  ScopedWorkingDirectory here(folder.Path());
  MakeFolder(folder.File("mailbox2"));
  MakeFolder(folder.File("mailbox2/drafts"));
  std::vector<std::string> paths;
  for (int i = 0; i < 3; ++i) {
    ComposedMail mail;
    mail.subject = "draft " + std::to_string(i);
    paths.push_back(NewDraftPath(2, NinthOfMarch()));
    ASSERT_TRUE(WriteDraft(paths.back(), mail, NinthOfMarch()));
  }
  const std::string stem = DraftFolderPath(2) + "msg09_03_2026_08_07_06";
  EXPECT_EQ(paths, (std::vector<std::string>{stem + ".txt", stem + "_2.txt", stem + "_3.txt"}));
  EXPECT_EQ(ReadDraft(ReadWholeFile(paths[0]).value_or("")).subject, "draft 0");
  EXPECT_TRUE(IsDraftOfAccount(paths[2], 2));
  EXPECT_FALSE(IsDraftOfAccount(paths[2], 1));
  EXPECT_FALSE(IsDraftOfAccount("", 2));
}

}  // namespace
}  // namespace larkspin
