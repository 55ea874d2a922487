#pragma once
// The header list: a report-view list whose rows carry an icon, a key, optional text and
// background colours and a bold face, and which sorts by any column when its header is clicked.
// A column's type (date, number or text) is decided from its first row. Colours, the bold face
// and icons travel with the rows; the selection stays on its positions.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "ui/geometry.h"

namespace larkspin {

class CDialog;
class CListModel;

enum class ColumnKind { kDate, kNumber, kText };

class CSortingList {
 public:
  // Attaches to the list view control_id of window; header clicks sort.
  void Attach(CDialog& window, int control_id);

  void AddColumn(const std::string& text, int alignment, int width);
  int ColumnCount() const;
  // Appends a row with the owner's key for it (0 for none); icon_id -1 for none; the encoding
  // says how the backend shows its texts. Answers its position, or -1 for an empty text list.
  int InsertRow(const std::vector<std::string>& texts, uint64_t key, int icon_id,
                TextEncoding encoding = TextEncoding::kClassic);
  // A new icon; texts, key, position and colours stay. The row ends up unselected.
  void SetRowIcon(int row, int icon_id);
  void DeleteRow(int row);
  void DeleteAll();
  void SetRowTextColour(int row, Colour colour);
  void SetRowBackground(int row, Colour colour);
  void ClearRowColours(int row);
  void SetRowBold(int row, bool bold);
  void SetRowToolTip(int row, const std::string& text);
  void SelectRow(int row);
  void DeselectAll();
  std::vector<int> SelectedRows() const;
  int FirstSelected() const;
  // Sorts the rows by column and shows the column's arrow in the header.
  void Sort(int column, bool ascending);

  void EnableSort(bool enable) { sort_enabled_ = enable; }
  // The direction of the last sort (ascending before any).
  bool Ascending() const { return ascending_; }
  // What a click on the header of column does: a new column sorts ascending, the column sorted
  // last flips its direction; then the owner's after-sort work runs (it restripes the rows, say).
  void OnColumnClick(int column);
  void SetAfterSort(std::function<void()> after_sort) { after_sort_ = std::move(after_sort); }

  int RowCount() const;
  std::string Text(int row, int column) const;
  // The cell's text as UTF-8, read in the encoding its row was inserted with.
  std::string Utf8Text(int row, int column) const;
  uint64_t RowKey(int row) const;  // 0 for none
  std::vector<uint64_t> RowKeys() const;  // every row's, from the top
  int RowIcon(int row) const;  // icon resource id, -1 for none
  std::optional<Colour> RowTextColour(int row) const;
  std::optional<Colour> RowBackground(int row) const;
  bool RowBold(int row) const;

 private:
  CListModel* Model() const;
  int ImageOfIcon(int icon_id);
  void Changed();

  CDialog* window_ = nullptr;
  int control_id_ = 0;
  std::map<int, int> icon_cache_;  // icon resource id -> image index
  bool sort_enabled_ = true;
  int sorted_column_ = -1;
  bool ascending_ = true;
  std::function<void()> after_sort_;
};

ColumnKind ClassifyColumn(const std::string& first_row_text);
// The number at the start of text, read as strtod reads it in the "C" locale; 0 for none.
double LeadingNumber(const std::string& text);

}  // namespace larkspin
