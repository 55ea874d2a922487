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
  void RemoveRow(RowId row_id) { records_.erase(row_id); }
  void RemoveAllRows() { records_.clear(); }
  // The record of a row; nullptr for none.
  HeaderRow* Record(RowId row_id);
  const HeaderRow* Record(RowId row_id) const;

  // Marks the row for deletion and clears its download mark; nullptr for no record.
  HeaderRow* MarkForDeletion(RowId row_id);
  enum class DownloadMarking { kNoRecord, kAlreadyStored, kMarked };
  // A stored message is not marked again.
  DownloadMarking MarkForDownload(RowId row_id);
  // Clears both marks; nullptr for no record.
  const HeaderRow* Unmark(RowId row_id);

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
};

}  // namespace larkspin
