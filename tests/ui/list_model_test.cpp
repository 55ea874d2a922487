#include "ui/list_model.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

ListRow RowOf(const std::string& text) {
  ListRow row;
  row.texts = {text};
  return row;
}

TEST(ListModelTest, SelectionAndFocusMoveWithRowsOnInsertAndDelete) {
  CListModel model;
  for (const char* text : {"a", "b", "c"}) model.InsertRow(model.RowCount(), RowOf(text));
  model.SetSelected(2, true);
  model.SetFocusedRow(2);
  model.InsertRow(0, RowOf("new"));
  EXPECT_EQ(model.SelectedRows(), std::vector<int>{3});
  EXPECT_EQ(model.FocusedRow(), 3);
  model.DeleteRow(1);
  EXPECT_EQ(model.SelectedRows(), std::vector<int>{2});
  EXPECT_EQ(model.CellText(2, 0), "c");
  model.DeleteRow(2);
  EXPECT_TRUE(model.SelectedRows().empty());
  EXPECT_EQ(model.FocusedRow(), -1);
  EXPECT_EQ(model.InsertRow(99, RowOf("end")), 2) << "positions past the end append";
  model.DeleteRow(7);
  EXPECT_EQ(model.RowCount(), 3);
  EXPECT_EQ(model.CellText(0, 5), "");
}

}  // namespace
}  // namespace larkspin
