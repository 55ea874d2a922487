// Telling new mail: what the seen-ids file keeps from one peek to the next, and which rows each
// rule counts as new.
#include "peek/new_mail.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "peek/seen_ids.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// The file as an editor may leave it: CR line ends, blank lines, trailing blanks, a broken line.
TEST(SeenIdsTest, KeepsTheSeenIdsStillOnTheServerAndEveryListedOne) {
  TempFolder folder;
  const std::string path = folder.File("seen-ids.list");
  WriteFile(path, "gone\r\nnot-listed\n\n   \nlisted-before \t\nbroken\x01id\n");
  CSeenIds seen(path);
  EXPECT_FALSE(seen.NoteListed("listed-before"));
  EXPECT_TRUE(seen.NoteListed("fresh"));
  for (const char* invalid : {"", "with blank", "broken\x01id", "line\nbreak"}) EXPECT_FALSE(seen.NoteListed(invalid));
  EXPECT_FALSE(seen.NoteListed(std::string(71, 'x'))) << "longer than a UIDL id may be";

  // "not-listed" is still on the server but the peek was cut off before it; "unlisted" was never
  // listed; "gone" is no longer on the server.
  ASSERT_TRUE(seen.Save({"not-listed", "listed-before", "fresh", "unlisted", "broken\x01id"}));
  EXPECT_EQ(ReadFile(path), "fresh\nlisted-before\nnot-listed\n");
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));

  CSeenIds next(path);
  EXPECT_FALSE(next.NoteListed("fresh"));
  EXPECT_TRUE(next.NoteListed("unlisted"));
}

TEST(SeenIdsTest, AMissingFileKnowsNoIdsAndAnUnwritableOneIsReported) {
  TempFolder folder;
  CSeenIds seen(folder.File("no-such-folder/seen-ids.list"));
  EXPECT_TRUE(seen.NoteListed("a"));
  EXPECT_FALSE(seen.Save({"a"}));
}

class NewMailRowsTest : public ::testing::Test {
 protected:
  // Account 1 listed rows 1 and 2, account 2 rows 3 to 5; the total is 5.
  PeekSummary Summary(NewMailRule rule) {
    PeekSummary summary(account_);
    summary.new_mail_by = rule;
    summary.total_count = 5;
    summary.listings = {{1, {1, 2}, true, {2}}, {2, {3, 4, 5}, false, {5}}};
    return summary;
  }

  class CNoPrompt : public CInputPrompt {
    bool Ask(const InputRequest&, InputAnswer&) override { return false; }
  } prompt_;
  CCurrentAccount account_{prompt_};
};

TEST_F(NewMailRowsTest, CountTakesTheLastRowsListedWhenTheTotalGrew) {
  const struct {
    int previous_total;
    std::vector<RowId> expected;
  } cases[] = {{5, {}}, {7, {}}, {4, {5}}, {2, {3, 4, 5}}, {0, {1, 2, 3, 4, 5}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.previous_total);
    EXPECT_THAT(NewMailRows(Summary(NewMailRule::kCount), c.previous_total), ElementsAreArray(c.expected));
  }
}

TEST_F(NewMailRowsTest, UidlTakesEachAccountsNewRowsWhateverTheTotal) {
  EXPECT_THAT(NewMailRows(Summary(NewMailRule::kUidl), 5), ElementsAre(2, 5));
  EXPECT_THAT(RowsNewByUniqueId(Summary(NewMailRule::kUidl)), ElementsAre(2));
  EXPECT_THAT(RowsNewByCount({7, 8}, 5, 2), ElementsAre(7, 8)) << "never more rows than were listed";
  EXPECT_THAT(RowsNewByCount({7, 8}, 1, 2), IsEmpty());
}

}  // namespace
}  // namespace larkspin
