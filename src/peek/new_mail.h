#pragma once
// Which rows of a finished peek are new mail: the one rule that the new-mail sound, the bold rows
// and the desktop notification all follow.
//
// NewMailBy=Count: new mail when the peek's total grew since the previous peek. The new rows
// are, per account, the messages numbered above the account's count at its previous peek in this
// program run (the server numbers messages in the order they arrived); a peek cut off before them
// names none, though the sound still rings.
// NewMailBy=Uidl: per account, the rows whose UIDL ids no earlier peek listed (seen_ids.h). An
// account whose server has no UIDL is counted on its own, as under Count.
#include <vector>

#include "peek/mailbox_events.h"

namespace larkspin {

// The rows of listed whose messages are numbered above previous_count; none when count did not
// grow.
std::vector<RowId> RowsNewByCount(const std::vector<ListedRow>& listed, int count, int previous_count);

// The rows of the peek that count as new mail, in the order listed; previous_total is the total
// of the previous peek, which the Count rule compares with.
std::vector<RowId> NewMailRows(const PeekSummary& summary, int previous_total);

// Whether the peek found new mail: new rows, or under Count a total that grew also when the
// connection was lost before the new rows were listed (the sound then rings without naming them).
bool FoundNewMail(const PeekSummary& summary, int previous_total, const std::vector<RowId>& new_rows);

// The new rows told by their UIDL ids: these are shown in bold until the next peek.
std::vector<RowId> RowsNewByUniqueId(const PeekSummary& summary);

}  // namespace larkspin
