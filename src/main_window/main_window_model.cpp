#include "main_window/main_window_model.h"

namespace larkspin {

HeaderRow* CMainWindowModel::Record(RowId row_id) {
  const auto record = records_.find(row_id);
  return record == records_.end() ? nullptr : &record->second;
}

const HeaderRow* CMainWindowModel::Record(RowId row_id) const {
  const auto record = records_.find(row_id);
  return record == records_.end() ? nullptr : &record->second;
}

HeaderRow* CMainWindowModel::MarkForDeletion(RowId row_id) {
  HeaderRow* row = Record(row_id);
  if (!row) return nullptr;
  row->delete_mark = 1;
  row->download_mark = 0;
  row->deletion.rule.clear();  // the user's mark, not a rule's
  return row;
}

CMainWindowModel::DownloadMarking CMainWindowModel::MarkForDownload(RowId row_id) {
  HeaderRow* row = Record(row_id);
  if (!row) return DownloadMarking::kNoRecord;
  if (!row->local_file.empty()) return DownloadMarking::kAlreadyStored;
  row->download_mark = 1;
  return DownloadMarking::kMarked;
}

const HeaderRow* CMainWindowModel::Unmark(RowId row_id) {
  HeaderRow* row = Record(row_id);
  if (!row) return nullptr;
  row->delete_mark = 0;
  row->download_mark = 0;
  row->deletion.rule.clear();
  return row;
}

CMainWindowModel::RuleMark CMainWindowModel::Screened(RowId row_id, const ScreeningVerdict& verdict, bool may_mark) {
  HeaderRow* row = Record(row_id);
  if (!row) return RuleMark::kNone;
  verdicts_[row_id] = verdict;
  if (!may_mark) return RuleMark::kNone;
  if (verdict.action == RuleAction::kDelete) {
    MarkForDeletion(row_id)->deletion.rule = verdict.rule;
    return RuleMark::kDeletion;
  }
  if (verdict.action == RuleAction::kDownload && MarkForDownload(row_id) == DownloadMarking::kMarked)
    return RuleMark::kDownload;
  return RuleMark::kNone;
}

const ScreeningVerdict* CMainWindowModel::VerdictOf(RowId row_id) const {
  const auto verdict = verdicts_.find(row_id);
  return verdict == verdicts_.end() ? nullptr : &verdict->second;
}

bool CMainWindowModel::OnlyAutomaticDeletions() const {
  bool any = false;
  for (const auto& [row_id, row] : records_) {
    if (!row.delete_mark) continue;
    const ScreeningVerdict* verdict = VerdictOf(row_id);
    if (row.deletion.rule.empty() || !verdict || !verdict->automatic) return false;
    any = true;
  }
  return any;
}

std::optional<DownloadOrder> CMainWindowModel::DownloadOrderOf(RowId row_id) const {
  const HeaderRow* record = Record(row_id);
  if (!record) return std::nullopt;
  DownloadOrder order;
  order.row = *record;
  return order;
}

std::vector<DeleteOrder> CMainWindowModel::DeleteOrders(const std::vector<RowId>& shown) const {
  std::vector<DeleteOrder> orders;
  for (size_t position = 0; position < shown.size(); ++position) {
    const HeaderRow* row = Record(shown[position]);
    if (!row || !row->delete_mark) continue;
    const int removed_above = static_cast<int>(orders.size());
    orders.push_back({row->row_id, row->message_number, static_cast<int>(position) - removed_above, row->identity,
                      row->connection, row->deletion});
  }
  return orders;
}

std::vector<DownloadOrder> CMainWindowModel::DownloadOrders(const std::vector<RowId>& shown) const {
  std::vector<DownloadOrder> orders;
  for (size_t position = 0; position < shown.size(); ++position) {
    const HeaderRow* marked = Record(shown[position]);
    if (!marked || !marked->download_mark) continue;
    const int target = static_cast<int>(position) - marked->row_offset;
    if (target < 0 || target >= static_cast<int>(shown.size())) continue;
    std::optional<DownloadOrder> order = DownloadOrderOf(shown[target]);
    if (!order) continue;
    order->skip_check = true;
    orders.push_back(*order);
  }
  return orders;
}

}  // namespace larkspin
