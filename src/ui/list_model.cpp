#include "ui/list_model.h"

#include <algorithm>

namespace larkspin {

void CListModel::SetColumnWidth(size_t column, int width) {
  if (column < columns_.size()) columns_[column].width = width;
}

int CListModel::InsertRow(int position, ListRow row) {
  const int at = std::clamp(position, 0, RowCount());
  rows_.insert(rows_.begin() + at, std::move(row));
  selected_.insert(selected_.begin() + at, false);
  if (focused_ >= at) ++focused_;
  return at;
}

void CListModel::DeleteRow(int position) {
  if (position < 0 || position >= RowCount()) return;
  rows_.erase(rows_.begin() + position);
  selected_.erase(selected_.begin() + position);
  if (focused_ == position) focused_ = -1;
  else if (focused_ > position) --focused_;
}

void CListModel::DeleteAll() {
  rows_.clear();
  selected_.clear();
  focused_ = -1;
}

std::string CListModel::CellText(int position, size_t column) const {
  const ListRow& row = Row(position);
  return column < row.texts.size() ? row.texts[column] : std::string();
}

void CListModel::SetSelected(int position, bool selected) {
  if (position >= 0 && position < RowCount()) selected_[static_cast<size_t>(position)] = selected;
}

bool CListModel::IsSelected(int position) const {
  return position >= 0 && position < RowCount() && selected_[static_cast<size_t>(position)];
}

std::vector<int> CListModel::SelectedRows() const {
  std::vector<int> positions;
  for (int i = 0; i < RowCount(); ++i)
    if (selected_[static_cast<size_t>(i)]) positions.push_back(i);
  return positions;
}

void CListModel::ClearSelection() { std::fill(selected_.begin(), selected_.end(), false); }

}  // namespace larkspin
