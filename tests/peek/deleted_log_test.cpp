// deleted.log's lines: every field comes back as written, whatever it holds, and a line that is
// not one of ours is left out rather than misread.
#include "peek/deleted_log.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::TempFolder;
using test_support::WriteFile;

DeletedMessage Sample(std::string subject, std::string rule) {
  return {"2026-03-05 18:00:12 +0100", "Home", "UID7", "<a@b>", "Anna <anna@example.org>", std::move(subject),
          "Thu, 5 Mar 2026 18:00:00 +0100", 2048, std::move(rule)};
}

TEST(DeletedLogTest, LinesReadBackAsWritten) {
  const DeletedMessage cases[] = {
      Sample("Plain", ""),
      Sample("Tab\there, line\nbreak\r\nand \\t a backslash\\", "Casino\t2"),
      Sample("", "by hands"),
      Sample("Grüße", ""),
  };
  for (const DeletedMessage& message : cases) {
    SCOPED_TRACE(message.subject);
    const std::string line = DeletedLogLine(message);
    EXPECT_EQ(line.find_first_of("\n\r"), std::string::npos);
    EXPECT_EQ(ParseDeletedLogLine(line), message);
  }
  EXPECT_NE(DeletedLogLine(Sample("", "")).find("\tby hand"), std::string::npos);
}

TEST(DeletedLogTest, ForeignLinesAreLeftOut) {
  for (const char* line : {"", "a\tb\tc", "t\ta\tu\tm\tf\ts\td\tlarge\tr", "t\ta\tu\tm\tf\ts\td\t\tr"}) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(ParseDeletedLogLine(line));
  }
  TempFolder folder;
  const std::string path = folder.File("deleted.log");
  WriteFile(path, DeletedLogLine(Sample("One", "")) + "\r\nnot a record\n" + DeletedLogLine(Sample("Two", "R")));
  const std::vector<DeletedMessage> read = ReadDeletedLog(path);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[1], Sample("Two", "R"));
  ASSERT_TRUE(AppendToDeletedLog(path, Sample("Three", "")));
  EXPECT_EQ(ReadDeletedLog(path).back().subject, "Three");
  EXPECT_EQ(ReadDeletedLog(path).back().time.size(), std::string("2026-03-05 18:00:12 +0100").size());
}

}  // namespace
}  // namespace larkspin
