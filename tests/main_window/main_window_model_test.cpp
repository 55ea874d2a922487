// The main window's model without any window: its state table against the flags each state
// stands for (a peek running, a connection kept, a close asked during a peek, the window ended),
// the orders its marked rows give, and the countdown of automatic peeks.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "main_window/main_window_model.h"
#include "main_window/peek_countdown.h"

namespace larkspin::test_support {
namespace {

using S = MainWindowState;
using E = MainWindowEvent;
using C = MainWindowAction;

struct Flags {
  bool peek = false;
  bool kept = false;
  bool close_asked = false;
  bool ended = false;
  auto operator<=>(const Flags&) const = default;
};

constexpr std::pair<S, Flags> kStates[] = {
    {S::kIdle, {}},
    {S::kPeeking, {.peek = true}},
    {S::kConnected, {.kept = true}},
    {S::kPeekingConnected, {.peek = true, .kept = true}},
    {S::kClosingAfterPeek, {.peek = true, .close_asked = true}},
    {S::kClosingConnected, {.peek = true, .kept = true, .close_asked = true}},
    {S::kClosed, {.ended = true}},
};
constexpr E kEvents[] = {E::kPeekStarted, E::kConnectionKept, E::kConnectionReleased, E::kPeekEnded, E::kCloseAsked};
constexpr C kCommands[] = {C::kConnect,        C::kDisconnect, C::kClose,        C::kAccountSelector,
                           C::kFolderSelector, C::kPeek,       C::kAccountAdmin, C::kSettings};

std::optional<S> StateOf(const Flags& flags) {
  for (const auto& [state, its_flags] : kStates)
    if (its_flags == flags) return state;
  return std::nullopt;
}

// What each event did to the flags the window kept before they became one state.
Flags After(Flags flags, E event) {
  if (flags.ended) return flags;
  if (event == E::kPeekStarted) flags.peek = true;
  if (event == E::kConnectionKept) flags.kept = true;
  if (event == E::kConnectionReleased) flags.kept = false;
  if (event == E::kPeekEnded) {
    flags.peek = false;
    if (flags.close_asked) return {.ended = true};
  }
  if (event == E::kCloseAsked) {
    if (!flags.peek) return {.ended = true};
    flags.close_asked = true;
  }
  return flags;
}

// What the flags allowed: Connect, the selectors and the settings wait for both the peek and the
// kept connection, Disconnect needs the kept connection, Close is off while it stands, a new peek
// and the account commands wait for the peek. An ended window allows nothing.
bool Allowed(const Flags& flags, C command) {
  if (flags.ended) return false;
  const bool idle = !flags.peek && !flags.kept;
  switch (command) {
    case C::kDisconnect: return flags.kept;
    case C::kClose: return !flags.kept;
    case C::kPeek:
    case C::kAccountAdmin: return !flags.peek;
    default: return idle;
  }
}

TEST(MainWindowStateTest, EveryEventMovesEachStateAsItMovedTheFlags) {
  for (const auto& [state, flags] : kStates) {
    for (const E event : kEvents) {
      const std::optional<S> expected = StateOf(After(flags, event));
      ASSERT_TRUE(expected.has_value());
      EXPECT_EQ(NextState(state, event), *expected)
          << "state " << static_cast<int>(state) << ", event " << static_cast<int>(event);
    }
  }
}

TEST(MainWindowStateTest, EachStateAllowsTheCommandsItsFlagsAllowed) {
  for (const auto& [state, flags] : kStates) {
    EXPECT_EQ(PeekRuns(state), flags.peek) << static_cast<int>(state);
    EXPECT_EQ(KeepsConnection(state), flags.kept) << static_cast<int>(state);
    for (const C command : kCommands)
      EXPECT_EQ(IsAllowed(state, command), Allowed(flags, command))
          << "state " << static_cast<int>(state) << ", command " << static_cast<int>(command);
  }
}

TEST(MainWindowStateTest, EveryStateIsReachedFromIdle) {
  std::set<S> reached{S::kIdle};
  for (size_t round = 0; round < std::size(kStates); ++round)
    for (const S state : std::set<S>(reached))
      for (const E event : kEvents) reached.insert(NextState(state, event));
  EXPECT_EQ(reached.size(), std::size(kStates));
}

// Five rows shown from the top as a, b, c, d, e.
class MainWindowRowsTest : public ::testing::Test {
 protected:
  MainWindowRowsTest() {
    for (int number = 1; number <= 5; ++number) {
      HeaderRow record;
      record.message_number = number;
      record.file_id = "id" + std::to_string(number);
      shown_.push_back(record.row_id);
      model_.AddRow(record);
    }
  }
  CMainWindowModel model_;
  std::vector<RowId> shown_;
};

TEST_F(MainWindowRowsTest, DeletionsCountTheRowsRemovedAboveThem) {
  for (const int position : {1, 2, 4}) ASSERT_NE(model_.MarkForDeletion(shown_[position]), nullptr);
  model_.Unmark(shown_[2]);
  const std::vector<DeleteOrder> orders = model_.DeleteOrders(shown_);
  ASSERT_EQ(orders.size(), 2u);
  EXPECT_EQ(orders[0].message_number, 2);
  EXPECT_EQ(orders[0].list_position, 1);
  EXPECT_EQ(orders[1].message_number, 5);
  EXPECT_EQ(orders[1].list_position, 3);
}

TEST_F(MainWindowRowsTest, DownloadsTakeTheRecordTheOffsetPointsBackToWithItsFileId) {
  model_.Record(shown_[3])->row_offset = 2;
  model_.Record(shown_[4])->row_offset = 9;  // points above the list: no download
  model_.Record(shown_[1])->local_file = "mailbox1/msg.txt";
  for (const RowId row_id : shown_) model_.MarkForDownload(row_id);
  EXPECT_EQ(model_.MarkForDownload(shown_[1]), CMainWindowModel::DownloadMarking::kAlreadyStored);
  EXPECT_EQ(model_.MarkForDeletion(shown_[2])->download_mark, 0);
  const std::vector<DownloadOrder> orders = model_.DownloadOrders(shown_);
  ASSERT_EQ(orders.size(), 2u);
  EXPECT_EQ(orders[0].row.file_id, "id1");
  EXPECT_EQ(orders[1].row.file_id, "id2");  // row d's offset names row b
  EXPECT_TRUE(orders[1].skip_check);
  EXPECT_EQ(model_.MarkForDownload(NewRowId()), CMainWindowModel::DownloadMarking::kNoRecord);
}

// Three-minute PeekTime: each minute either passes or finds the window busy.
TEST(PeekCountdownTest, ADueTurnStartsOnlyWhenAPeekMayRunAndIsOtherwiseSkipped) {
  struct Minute {
    bool may_peek;
    bool starts;
    int minutes_left;
    int peek_number;
  };
  const Minute minutes[] = {{true, false, 2, 1}, {true, false, 1, 1}, {true, true, 3, 2},
                            {false, false, 2, 2}, {false, false, 1, 2}, {false, false, 3, 2},
                            {true, false, 2, 2}, {true, false, 1, 2}, {true, true, 3, 3}};
  CPeekCountdown countdown;
  countdown.Restart(3);
  countdown.ConnectedByUser();
  EXPECT_TRUE(countdown.ConnectionEnded());
  for (const Minute& minute : minutes) {
    EXPECT_EQ(countdown.MinutePassed(minute.may_peek), minute.starts);
    EXPECT_EQ(countdown.MinutesLeft(), minute.minutes_left);
    EXPECT_EQ(countdown.PeekNumber(), minute.peek_number);
  }
  // The user's Connect pauses the rhythm until that connection ends; PeekTime=0 stops it.
  countdown.ConnectedByUser();
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(countdown.MinutePassed(true));
  EXPECT_TRUE(countdown.ConnectionEnded());
  EXPECT_FALSE(countdown.ConnectionEnded());
  EXPECT_TRUE(countdown.Automatic());
  countdown.Restart(0);
  EXPECT_FALSE(countdown.ConnectionEnded() || countdown.Automatic());
}

}  // namespace
}  // namespace larkspin::test_support
