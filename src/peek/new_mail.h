#pragma once
// Which rows of a finished peek are new mail: the one rule that the new-mail sound, the bold rows
// and the desktop notification all follow.
//
// NewMailBy=Count: when the peek's total grew by k since the previous peek, the last k rows
// listed (the highest message numbers, the newest arrivals); none otherwise.
// NewMailBy=Uidl: per account, the rows whose UIDL ids no earlier peek listed (seen_ids.h). An
// account whose server has no UIDL is counted on its own: when its count grew by k since its
// previous peek in this program run, its last k rows listed.
#include <vector>

#include "peek/mailbox_events.h"

namespace larkspin {

// The last count - previous_count rows of listed; none when the count did not grow.
std::vector<RowId> RowsNewByCount(const std::vector<RowId>& listed, int count, int previous_count);

// The rows of the peek that count as new mail, in the order listed; previous_total is the total
// of the previous peek, which the Count rule compares with.
std::vector<RowId> NewMailRows(const PeekSummary& summary, int previous_total);

// Whether the peek found new mail: new rows, or under Count a total that grew also when the
// connection was lost before the new rows were listed (the sound then rings without naming them).
bool FoundNewMail(const PeekSummary& summary, int previous_total, const std::vector<RowId>& new_rows);

// The new rows told by their UIDL ids: these are shown in bold until the next peek.
std::vector<RowId> RowsNewByUniqueId(const PeekSummary& summary);

}  // namespace larkspin
