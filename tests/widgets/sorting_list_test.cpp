#include "widgets/sorting_list.h"

#include <gtest/gtest.h>

#include "res/control_ids.h"
#include "res/resources.h"
#include "ui/dialog.h"
#include "ui/headless/headless_backend.h"
#include "widgets/list_date.h"

namespace larkspin {
namespace {

constexpr Colour kRed = Rgb(170, 10, 10);

class SortingListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.Create());
    window.ShowWindow(true);
    list.Attach(window, kHeaderList);
    list.AddColumn("From", 0, 150);
    list.AddColumn("Date", 0, 70);
    list.AddColumn("Size", 2, 50);
  }
  void TearDown() override { window.DestroyWindow(); }

  void AddRow(const std::string& from, const std::string& date, const std::string& size) {
    list.InsertRow({from, date, size}, static_cast<uint64_t>(from[0]), kIconRowOnServer);
  }
  std::vector<std::string> Column(int column) const {
    std::vector<std::string> texts;
    for (int row = 0; row < list.RowCount(); ++row) texts.push_back(list.Text(row, column));
    return texts;
  }

  CHeadlessBackend backend;
  CScopedUiBackend installed{backend};
  CDialog window{kDialogMain, nullptr};
  CSortingList list;
};

TEST(ColumnTypingTest, TheFirstRowDecidesBetweenDateNumberAndText) {
  EXPECT_EQ(ClassifyColumn("02.03.2004 10:11:12 +0100"), ColumnKind::kDate);
  EXPECT_EQ(ClassifyColumn("0"), ColumnKind::kNumber);
  EXPECT_EQ(ClassifyColumn("12k"), ColumnKind::kNumber);
  EXPECT_EQ(ClassifyColumn("abc"), ColumnKind::kText);
  EXPECT_EQ(ClassifyColumn("0k"), ColumnKind::kText) << "a leading 0 that is not exactly \"0\" reads as text";
  EXPECT_EQ(LeadingNumber(" 12.5kB"), 12.5);
  EXPECT_EQ(LeadingNumber("nan"), 0.0);
}

TEST(ListDateTest, TheListsOwnFormParsesAfterTheZoneIsCut) {
  const std::optional<double> date = ParseListDate("02.03.2004 10:11:12 +0100");
  ASSERT_TRUE(date);
  EXPECT_NEAR(*date, 38048 + (10 * 3600 + 11 * 60 + 12) / 86400.0, 1e-9);
  EXPECT_EQ(ParseListDate("02.03.2004 10:11:12 -0500"), date);
  EXPECT_EQ(ParseListDate("02.03.2004 10:11:12 GMT"), date);
  EXPECT_TRUE(ParseListDate("Tue, 2 Mar 2004 10:11:12"));
  EXPECT_FALSE(ParseListDate(".00. "));
  EXPECT_FALSE(ParseListDate("12k"));
  EXPECT_FALSE(ParseListDate("-0100"));
}

TEST_F(SortingListTest, SizesSortAsNumbersAndAFirstTextRowMakesATextColumn) {
  AddRow("b", "x", "100k");
  AddRow("a", "x", "9k");
  AddRow("c", "x", "10k");
  list.Sort(2, true);
  EXPECT_EQ(Column(2), (std::vector<std::string>{"9k", "10k", "100k"}));
  list.Sort(0, false);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"c", "b", "a"}));

  list.DeleteAll();
  AddRow("abc", "x", "1");
  AddRow("20", "x", "1");
  AddRow("3", "x", "1");
  list.Sort(0, true);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"20", "3", "abc"})) << "compared as text";
}

TEST_F(SortingListTest, DatesSortByTimeAndUnparsableDatesCountAsTheZeroDate) {
  AddRow("late", "02.03.2004 10:11:12 +0100", "1k");
  AddRow("broken", "no date", "1k");
  AddRow("early", "01.03.2004 23:59:59 +0100", "1k");
  AddRow("next year", "01.01.2005 00:00:00 +0100", "1k");
  list.Sort(1, true);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"broken", "early", "late", "next year"}));
}

TEST_F(SortingListTest, EqualKeysKeepTheirOrderInBothDirections) {
  AddRow("first", "x", "5k");
  AddRow("big", "x", "9k");
  AddRow("second", "x", "5k");
  AddRow("third", "x", "5K");
  list.Sort(2, true);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"first", "second", "third", "big"}));
  list.Sort(2, false);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"big", "first", "second", "third"}));
  list.Sort(0, true);
  list.Sort(1, false);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"big", "first", "second", "third"}))
      << "a text column of equal texts keeps the order in descending sorts too";
}

TEST_F(SortingListTest, ColoursIconsAndKeysTravelWithRowsButTheSelectionStays) {
  AddRow("c", "x", "3k");
  AddRow("a", "x", "1k");
  AddRow("b", "x", "2k");
  list.SetRowTextColour(0, kRed);
  list.SetRowBackground(2, Rgb(230, 230, 230));
  list.SetRowIcon(1, kIconRowDeleteMark);
  list.SelectRow(0);

  list.Sort(0, true);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(list.RowTextColour(2), kRed);
  EXPECT_EQ(list.RowTextColour(0), std::nullopt);
  EXPECT_EQ(list.RowBackground(1), Rgb(230, 230, 230));
  EXPECT_EQ(list.RowIcon(0), kIconRowDeleteMark);
  EXPECT_EQ(list.RowKey(2), static_cast<uint64_t>('c'));
  EXPECT_EQ(list.SelectedRows(), std::vector<int>{0});

  list.DeleteRow(0);
  EXPECT_EQ(list.RowTextColour(1), kRed) << "the red row moved up with its colour";
  EXPECT_EQ(list.RowBackground(0), Rgb(230, 230, 230));
}

TEST_F(SortingListTest, SetRowIconKeepsTextsPositionAndColoursAndLoadsEachIconOnce) {
  AddRow("a", "x", "1k");
  AddRow("b", "x", "2k");
  list.SetRowTextColour(1, kRed);
  list.SelectRow(1);
  list.SetRowIcon(1, kIconRowDownloadMark);
  EXPECT_EQ(list.Text(1, 0), "b");
  EXPECT_EQ(list.RowIcon(1), kIconRowDownloadMark);
  EXPECT_EQ(list.RowKey(1), static_cast<uint64_t>('b'));
  EXPECT_EQ(list.RowTextColour(1), kRed);
  EXPECT_EQ(list.FirstSelected(), -1) << "the row was taken out and put back, unselected";
  list.SetRowIcon(0, kIconRowDownloadMark);
  EXPECT_EQ(window.List(kHeaderList)->ImageList(), (std::vector<int>{kIconRowOnServer, kIconRowDownloadMark}));
}

TEST_F(SortingListTest, HeaderClicksSortAlternatelyButNotAnEmptyList) {
  CHeadlessWindow& peer = *backend.WindowOf(window);
  EXPECT_TRUE(peer.ClickColumn(kHeaderList, 0));
  EXPECT_TRUE(list.Ascending()) << "an empty list keeps the direction";
  EXPECT_EQ(backend.WaitCursorShows(), 0);
  AddRow("b", "x", "1k");
  AddRow("a", "x", "1k");
  peer.ClickColumn(kHeaderList, 0);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"a", "b"}));
  peer.ClickColumn(kHeaderList, 2);
  peer.ClickColumn(kHeaderList, 0);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"a", "b"})) << "the third click sorts ascending again";
  peer.ClickColumn(kHeaderList, 0);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(backend.WaitCursorShows(), 4);
  list.EnableSort(false);
  peer.ClickColumn(kHeaderList, 0);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"b", "a"}));
}

// A click on a new column sorts ascending, a click on the sorted column flips it (after a
// programmatic sort too); the header's arrow shows the column and direction, the owner's
// after-sort work runs after each click, and emptying the list takes the arrow away.
TEST_F(SortingListTest, ANewColumnSortsAscendingFirstAndTheArrowShowsTheDirection) {
  CHeadlessWindow& peer = *backend.WindowOf(window);
  int after_sorts = 0;
  list.SetAfterSort([&] { ++after_sorts; });
  AddRow("b", "01.03.2004 10:00:00", "2k");
  AddRow("a", "02.03.2004 10:00:00", "1k");
  list.Sort(1, false);
  const struct {
    int column;
    bool ascending;
    const char* first_from;
  } clicks[] = {{1, true, "b"}, {1, false, "a"}, {2, true, "a"}, {0, true, "a"}, {0, false, "b"}, {2, true, "a"}};
  for (const auto& click : clicks) {
    ASSERT_TRUE(peer.ClickColumn(kHeaderList, click.column));
    EXPECT_EQ(list.Text(0, 0), click.first_from) << click.column;
    EXPECT_EQ(peer.List(kHeaderList)->SortColumn(), click.column);
    EXPECT_EQ(peer.List(kHeaderList)->SortAscending(), click.ascending) << click.column;
  }
  EXPECT_EQ(after_sorts, 6);
  list.DeleteAll();
  EXPECT_EQ(peer.List(kHeaderList)->SortColumn(), -1);
}

TEST_F(SortingListTest, AnEmptyTextListAddsNoRow) {
  EXPECT_EQ(list.InsertRow({}, 0, -1), -1);
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_EQ(list.InsertRow({"only the first column"}, 0, -1), 0);
  EXPECT_EQ(list.Text(0, 2), "");
  EXPECT_EQ(list.RowIcon(0), -1);
}

}  // namespace
}  // namespace larkspin
