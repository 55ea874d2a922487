#include "widgets/sorting_list.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

#include "common/windows_1252.h"
#include "ui/backend.h"
#include "ui/dialog.h"
#include "ui/list_model.h"
#include "widgets/list_date.h"

namespace larkspin {

namespace {

// Windows-1252 letters folded to lower case, so that text keys compare ignoring case.
unsigned char FoldCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x8A || c == 0x8C || c == 0x8E) return c + 16;
  if (c == 0x9F) return 0xFF;
  return c;
}

std::string FoldedText(const std::string& text) {
  std::string folded = text;
  for (char& c : folded) c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
  return folded;
}

struct SortKey {
  double number = 0;
  std::string text;
};

SortKey KeyOf(const std::string& cell, ColumnKind kind) {
  switch (kind) {
    case ColumnKind::kDate: return {ParseListDate(cell).value_or(0.0), {}};
    case ColumnKind::kNumber: return {LeadingNumber(cell), {}};
    case ColumnKind::kText: return {0, FoldedText(cell)};
  }
  return {};
}

bool KeyLess(const SortKey& a, const SortKey& b, ColumnKind kind) {
  return kind == ColumnKind::kText ? a.text < b.text : a.number < b.number;
}

}  // namespace

ColumnKind ClassifyColumn(const std::string& first_row_text) {
  if (ParseListDate(first_row_text)) return ColumnKind::kDate;
  if (LeadingNumber(first_row_text) != 0 || first_row_text == "0") return ColumnKind::kNumber;
  return ColumnKind::kText;
}

double LeadingNumber(const std::string& text) {
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
  const double value = strtod_l(text.c_str(), nullptr, c_locale);
  return std::isnan(value) ? 0.0 : value;  // "nan" would break the ordering of the sort
}

void CSortingList::Attach(CDialog& window, int control_id) {
  window_ = &window;
  control_id_ = control_id;
  window.Commands().OnNotify(control_id, NotifyCode::kColumnClick,
                             [this](const Notification& notification) { OnColumnClick(notification.index); });
}

CListModel* CSortingList::Model() const { return window_ ? window_->List(control_id_) : nullptr; }

void CSortingList::Changed() {
  if (window_) window_->ListChanged(control_id_);
}

void CSortingList::AddColumn(const std::string& text, int alignment, int width) {
  CListModel* model = Model();
  if (!model) return;
  model->AddColumn({text, static_cast<ListAlign>(std::clamp(alignment, 0, 2)), width});
  Changed();
}

int CSortingList::ColumnCount() const {
  const CListModel* model = Model();
  return model ? static_cast<int>(model->Columns().size()) : 0;
}

int CSortingList::ImageOfIcon(int icon_id) {
  if (icon_id < 0) return -1;
  const auto cached = icon_cache_.find(icon_id);
  if (cached != icon_cache_.end()) return cached->second;
  std::vector<int>& images = Model()->ImageList();
  images.push_back(icon_id);
  const int image = static_cast<int>(images.size()) - 1;
  icon_cache_[icon_id] = image;
  return image;
}

int CSortingList::InsertRow(const std::vector<std::string>& texts, uint64_t key, int icon_id, TextEncoding encoding) {
  CListModel* model = Model();
  if (!model || texts.empty()) return -1;
  ListRow row;
  row.texts = texts;
  row.key = key;
  row.image = ImageOfIcon(icon_id);
  row.encoding = encoding;
  const int position = model->InsertRow(model->RowCount(), std::move(row));
  Changed();
  return position;
}

void CSortingList::SetRowIcon(int row, int icon_id) {
  CListModel* model = Model();
  if (!model || row < 0 || row >= model->RowCount()) return;
  model->Row(row).image = ImageOfIcon(icon_id);
  model->SetSelected(row, false);  // the row is removed and inserted again
  Changed();
}

void CSortingList::DeleteRow(int row) {
  if (CListModel* model = Model()) {
    model->DeleteRow(row);
    Changed();
  }
}

void CSortingList::DeleteAll() {
  if (CListModel* model = Model()) {
    model->DeleteAll();
    sorted_column_ = -1;
    model->SetSortIndicator(-1, true);
    Changed();
  }
}

void CSortingList::SetRowTextColour(int row, Colour colour) {
  CListModel* model = Model();
  if (!model || row < 0 || row >= model->RowCount()) return;
  model->Row(row).text_colour = colour;
  Changed();
}

void CSortingList::SetRowBackground(int row, Colour colour) {
  CListModel* model = Model();
  if (!model || row < 0 || row >= model->RowCount()) return;
  model->Row(row).background = colour;
  Changed();
}

void CSortingList::ClearRowColours(int row) {
  CListModel* model = Model();
  if (!model || row < 0 || row >= model->RowCount()) return;
  model->Row(row).text_colour.reset();
  model->Row(row).background.reset();
  Changed();
}

void CSortingList::SetRowBold(int row, bool bold) {
  CListModel* model = Model();
  if (!model || row < 0 || row >= model->RowCount()) return;
  model->Row(row).bold = bold;
  Changed();
}

void CSortingList::SetRowToolTip(int row, const std::string& text) {
  CListModel* model = Model();
  if (!model || row < 0 || row >= model->RowCount()) return;
  model->Row(row).tool_tip = text;
}

void CSortingList::SelectRow(int row) {
  if (CListModel* model = Model()) {
    model->SetSelected(row, true);
    Changed();
  }
}

void CSortingList::DeselectAll() {
  if (CListModel* model = Model()) {
    model->ClearSelection();
    Changed();
  }
}

std::vector<int> CSortingList::SelectedRows() const {
  const CListModel* model = Model();
  return model ? model->SelectedRows() : std::vector<int>();
}

int CSortingList::FirstSelected() const {
  const std::vector<int> rows = SelectedRows();
  return rows.empty() ? -1 : rows.front();
}

void CSortingList::Sort(int column, bool ascending) {
  CListModel* model = Model();
  if (!model || model->RowCount() == 0 || column < 0) return;
  const ColumnKind kind = ClassifyColumn(model->CellText(0, static_cast<size_t>(column)));
  struct Captured {
    SortKey key;
    ListRow row;
  };
  std::vector<Captured> captured;
  captured.reserve(static_cast<size_t>(model->RowCount()));
  for (ListRow& row : model->Rows()) {
    const std::string cell = static_cast<size_t>(column) < row.texts.size() ? row.texts[column] : std::string();
    captured.push_back({KeyOf(cell, kind), std::move(row)});
  }
  // A stable sort gives exactly the order of the neighbour-swapping sort: equal keys never pass
  // each other, in either direction.
  std::stable_sort(captured.begin(), captured.end(), [&](const Captured& a, const Captured& b) {
    return ascending ? KeyLess(a.key, b.key, kind) : KeyLess(b.key, a.key, kind);
  });
  for (size_t i = 0; i < captured.size(); ++i) model->Rows()[i] = std::move(captured[i].row);
  sorted_column_ = column;
  ascending_ = ascending;
  model->SetSortIndicator(column, ascending);
  Changed();
}

void CSortingList::OnColumnClick(int column) {
  if (!sort_enabled_ || RowCount() < 1) return;
  {
    CWaitCursor wait;
    Sort(column, column == sorted_column_ ? !ascending_ : true);
  }
  if (after_sort_) after_sort_();
}

int CSortingList::RowCount() const {
  const CListModel* model = Model();
  return model ? model->RowCount() : 0;
}

std::string CSortingList::Text(int row, int column) const {
  const CListModel* model = Model();
  if (!model || row < 0 || row >= model->RowCount() || column < 0) return {};
  return model->CellText(row, static_cast<size_t>(column));
}

std::string CSortingList::Utf8Text(int row, int column) const {
  const CListModel* model = Model();
  if (!model || row < 0 || row >= model->RowCount() || column < 0) return {};
  return TextAsUtf8(model->CellText(row, static_cast<size_t>(column)), model->Row(row).encoding);
}

uint64_t CSortingList::RowKey(int row) const {
  const CListModel* model = Model();
  return model && row >= 0 && row < model->RowCount() ? model->Row(row).key : 0;
}

std::vector<uint64_t> CSortingList::RowKeys() const {
  std::vector<uint64_t> keys;
  for (int row = 0; row < RowCount(); ++row) keys.push_back(RowKey(row));
  return keys;
}

int CSortingList::RowIcon(int row) const {
  const CListModel* model = Model();
  if (!model || row < 0 || row >= model->RowCount()) return -1;
  const int image = model->Row(row).image;
  return image >= 0 && image < static_cast<int>(model->ImageList().size()) ? model->ImageList()[image] : -1;
}

std::optional<Colour> CSortingList::RowTextColour(int row) const {
  const CListModel* model = Model();
  return model && row >= 0 && row < model->RowCount() ? model->Row(row).text_colour : std::nullopt;
}

std::optional<Colour> CSortingList::RowBackground(int row) const {
  const CListModel* model = Model();
  return model && row >= 0 && row < model->RowCount() ? model->Row(row).background : std::nullopt;
}

bool CSortingList::RowBold(int row) const {
  const CListModel* model = Model();
  return model && row >= 0 && row < model->RowCount() && model->Row(row).bold;
}

}  // namespace larkspin
