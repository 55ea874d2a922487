#include "peek/new_mail.h"

#include <algorithm>

namespace larkspin {

std::vector<RowId> RowsNewByCount(const std::vector<RowId>& listed, int count, int previous_count) {
  if (count <= previous_count) return {};
  const size_t growth = std::min(static_cast<size_t>(count - previous_count), listed.size());
  return {listed.end() - static_cast<std::ptrdiff_t>(growth), listed.end()};
}

std::vector<RowId> NewMailRows(const PeekSummary& summary, int previous_total) {
  std::vector<RowId> rows;
  for (const AccountListing& listing : summary.listings) {
    const std::vector<RowId>& taken = summary.new_mail_by == NewMailRule::kUidl ? listing.new_rows : listing.rows;
    rows.insert(rows.end(), taken.begin(), taken.end());
  }
  if (summary.new_mail_by == NewMailRule::kUidl) return rows;
  return RowsNewByCount(rows, summary.total_count, previous_total);
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
