#include "peek/new_mail.h"

namespace larkspin {

std::vector<RowId> RowsNewByCount(const std::vector<ListedRow>& listed, int count, int previous_count) {
  std::vector<RowId> rows;
  if (count <= previous_count) return rows;
  for (const ListedRow& row : listed)
    if (row.message_number > previous_count) rows.push_back(row.row_id);
  return rows;
}

std::vector<RowId> NewMailRows(const PeekSummary& summary, int previous_total) {
  std::vector<RowId> rows;
  if (summary.new_mail_by == NewMailRule::kCount && summary.total_count <= previous_total) return rows;
  for (const AccountListing& listing : summary.listings)
    rows.insert(rows.end(), listing.new_rows.begin(), listing.new_rows.end());
  return rows;
}

bool FoundNewMail(const PeekSummary& summary, int previous_total, const std::vector<RowId>& new_rows) {
  return !new_rows.empty() || (summary.new_mail_by == NewMailRule::kCount && summary.total_count > previous_total);
}

std::vector<RowId> RowsNewByUniqueId(const PeekSummary& summary) {
  std::vector<RowId> rows;
  for (const AccountListing& listing : summary.listings)
    if (listing.by_seen_ids) rows.insert(rows.end(), listing.new_rows.begin(), listing.new_rows.end());
  return rows;
}

}  // namespace larkspin
