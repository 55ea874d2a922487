#pragma once
// The contents of a list view control: columns, rows with their texts, image, item data, state
// bits and colours, the selection, and the image list. The backend owns one per list control and
// draws from it; window code changes it and then tells the backend (CWindowPeer::ListChanged).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "ui/geometry.h"

namespace larkspin {

enum ListAlign : int { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

struct ListColumn {
  std::string title;
  ListAlign align = kAlignLeft;
  int width = 0;
};

struct ListRow {
  std::vector<std::string> texts;  // one per column; missing ones read as empty
  int image = -1;                  // index into the image list, -1 for none
  uint64_t key = 0;                // the owner's key of the row, 0 for none
  unsigned state_bits = 0;         // state-image and drop-highlight bits of the item state
  std::optional<Colour> text_colour;
  std::optional<Colour> background;
  bool bold = false;  // the row's texts in the bold face of the list's font
  std::string tool_tip;  // shown while the pointer rests on the row; empty for none
  TextEncoding encoding = TextEncoding::kClassic;  // how the texts' bytes are to be shown
};

class CListModel {
 public:
  void AddColumn(ListColumn column) { columns_.push_back(std::move(column)); }
  const std::vector<ListColumn>& Columns() const { return columns_; }
  void SetColumnWidth(size_t column, int width);

  int RowCount() const { return static_cast<int>(rows_.size()); }
  // Inserts before position (clamped to the end); returns the row's position.
  int InsertRow(int position, ListRow row);
  void DeleteRow(int position);
  void DeleteAll();
  ListRow& Row(int position) { return rows_.at(static_cast<size_t>(position)); }
  const ListRow& Row(int position) const { return rows_.at(static_cast<size_t>(position)); }
  std::vector<ListRow>& Rows() { return rows_; }
  std::string CellText(int position, size_t column) const;

  // Selection is kept by position: reordering rows leaves it on the same positions.
  void SetSelected(int position, bool selected);
  bool IsSelected(int position) const;
  std::vector<int> SelectedRows() const;
  void ClearSelection();
  int FocusedRow() const { return focused_; }
  void SetFocusedRow(int position) { focused_ = position; }

  // The column the rows are sorted by (-1 for none) and its direction, shown as the header's arrow.
  void SetSortIndicator(int column, bool ascending) {
    sort_column_ = column;
    sort_ascending_ = ascending;
  }
  int SortColumn() const { return sort_column_; }
  bool SortAscending() const { return sort_ascending_; }

  // Icon resource ids by image index.
  std::vector<int>& ImageList() { return image_list_; }
  const std::vector<int>& ImageList() const { return image_list_; }

 private:
  std::vector<ListColumn> columns_;
  std::vector<ListRow> rows_;
  std::vector<bool> selected_;
  std::vector<int> image_list_;
  int focused_ = -1;
  int sort_column_ = -1;
  bool sort_ascending_ = true;
};

}  // namespace larkspin
