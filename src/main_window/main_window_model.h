#pragma once
// What the main window shows, apart from drawing it: the records behind the header list's rows
// with the user's marks, and the connection and peek state (main_window_state.h). The window
// draws the rows and keeps their order (the list's sorting); whatever needs that order is handed
// the rows' ids as the list shows them, from the top.
#include <optional>
#include <unordered_map>
#include <vector>

#include "main_window/main_window_state.h"
#include "peek/header_row.h"
#include "peek/mailbox_session.h"
#include "screening/screening.h"

namespace larkspin {

class CMainWindowModel {
 public:
  MainWindowState State() const { return state_; }
  // Moves the state on; the window then draws what the new state allows.
  void Apply(MainWindowEvent event) { state_ = NextState(state_, event); }
  bool Allows(MainWindowAction action) const { return IsAllowed(state_, action); }
  bool PeekRuns() const { return larkspin::PeekRuns(state_); }
  bool KeepsConnection() const { return larkspin::KeepsConnection(state_); }

  void AddRow(const HeaderRow& record) { records_[record.row_id] = record; }
  void RemoveRow(RowId row_id) {
    records_.erase(row_id);
    verdicts_.erase(row_id);
  }
  void RemoveAllRows() {
    records_.clear();
    verdicts_.clear();
  }
  // The record of a row; nullptr for none.
  HeaderRow* Record(RowId row_id);
  const HeaderRow* Record(RowId row_id) const;

  // Marks the row for deletion by hand and clears its download mark; nullptr for no record.
  HeaderRow* MarkForDeletion(RowId row_id);
  enum class DownloadMarking { kNoRecord, kAlreadyStored, kMarked };
  // A stored message is not marked again.
  DownloadMarking MarkForDownload(RowId row_id);
  // Clears both marks; nullptr for no record.
  const HeaderRow* Unmark(RowId row_id);

  // What the rules say of a listed row, kept with it, and the mark its rule makes: a delete rule
  // marks it for deletion (deleted.log names the rule), a download rule for download unless it is
  // stored; allow and flag mark nothing. The mark it made, if any.
  enum class RuleMark { kNone, kDeletion, kDownload };
  // Without may_mark the verdict is only kept.
  RuleMark Screened(RowId row_id, const ScreeningVerdict& verdict, bool may_mark);
  // The verdict of a row; nullptr for a row the rules have not seen.
  const ScreeningVerdict* VerdictOf(RowId row_id) const;
  // Whether rows are marked for deletion and an auto rule marked every one of them, so an
  // automatic peek may carry the deletions out without asking.
  bool OnlyAutomaticDeletions() const;

  // The download of the row's message; nullopt for no record. Its file is named from the
  // record's own facts.
  std::optional<DownloadOrder> DownloadOrderOf(RowId row_id) const;
  // The rows marked for deletion in the order shown, each with the position it will have when
  // its turn comes: every deletion before it has removed a row above it.
  std::vector<DeleteOrder> DeleteOrders(const std::vector<RowId>& shown) const;
  // The rows marked for download in the order shown. A marked row's download is the one of the
  // row its offset points back to, as the peek that listed it counted.
  std::vector<DownloadOrder> DownloadOrders(const std::vector<RowId>& shown) const;

 private:
  MainWindowState state_ = MainWindowState::kIdle;
  std::unordered_map<RowId, HeaderRow> records_;  // by row id
  std::unordered_map<RowId, ScreeningVerdict> verdicts_;
};

}  // namespace larkspin
