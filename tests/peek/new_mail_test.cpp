// Telling new mail: the seen-ids file as an editor may leave it, and the rows each rule counts as
// new. (A peek's pruning of the file: mailbox_session_test.)
#include "peek/new_mail.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "peek/seen_ids.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

TEST(SeenIdsTest, ReadsAnEditedFileAndNeverTakesAnInvalidIdForNew) {
  test_support::TempFolder folder;
  const std::string path = folder.File("seen-ids.list");
  test_support::WriteFile(path, "kept\r\n\n   \nlisted \t\nbroken\x01id\n");
  CSeenIds seen(path);
  EXPECT_FALSE(seen.NoteListed("listed"));
  EXPECT_TRUE(seen.NoteListed("fresh"));
  const std::vector<std::string> invalid_ids = {"", "with blank", "broken\x01id", "line\nbreak", std::string(71, 'x')};
  for (const std::string& invalid : invalid_ids)
    EXPECT_FALSE(seen.NoteListed(invalid)) << invalid;
  ASSERT_TRUE(seen.Save({"kept", "broken\x01id"}));
  EXPECT_EQ(test_support::ReadFile(path), "fresh\nkept\nlisted\n");
  EXPECT_FALSE(CSeenIds(folder.File("no-such-folder/seen-ids.list")).Save({})) << "a failed write is reported";
}

TEST(NewMailRowsTest, CountNamesTheMessagesNumberedAboveThePreviousCount) {
  // Message 3 was refused (no row); the listing of 7 messages was cut off after message 6.
  const std::vector<ListedRow> listed = {{11, 1}, {12, 2}, {14, 4}, {15, 5}, {16, 6}};
  const struct {
    int previous_count;
    std::vector<RowId> expected;
  } cases[] = {{7, {}}, {9, {}}, {6, {}}, {4, {15, 16}}, {2, {14, 15, 16}}, {0, {11, 12, 14, 15, 16}}};
  for (const auto& c : cases)
    EXPECT_THAT(RowsNewByCount(listed, 7, c.previous_count), ElementsAreArray(c.expected)) << c.previous_count;
}

TEST(NewMailRowsTest, CountNamesRowsOnlyWhenTheTotalGrewUidlEachAccountsNewRows) {
  class CNoPrompt : public CInputPrompt {
    bool Ask(const InputRequest&, InputAnswer&) override { return false; }
  } prompt;
  PeekSummary summary{CCurrentAccount(prompt)};
  summary.total_count = 5;
  // Account 1 told its new row 2 by its id, account 2 row 5 by its count.
  summary.listings = {{1, {{1, 1}, {2, 2}}, true, {2}}, {2, {{3, 1}, {4, 2}, {5, 3}}, false, {5}}};
  EXPECT_THAT(NewMailRows(summary, 4), ElementsAre(2, 5));
  EXPECT_THAT(NewMailRows(summary, 5), IsEmpty()) << "under Count a total that did not grow names none";
  summary.new_mail_by = NewMailRule::kUidl;
  EXPECT_THAT(NewMailRows(summary, 5), ElementsAre(2, 5));
  EXPECT_THAT(RowsNewByUniqueId(summary), ElementsAre(2));

  // Lost before the first header: Count still rings for a grown total, Uidl has nothing to tell.
  summary.listings.clear();
  EXPECT_FALSE(FoundNewMail(summary, 3, {}));
  summary.new_mail_by = NewMailRule::kCount;
  EXPECT_TRUE(FoundNewMail(summary, 3, {}));
  EXPECT_FALSE(FoundNewMail(summary, 5, {}));
}

}  // namespace
}  // namespace larkspin
