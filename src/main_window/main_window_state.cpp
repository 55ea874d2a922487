#include "main_window/main_window_state.h"

#include <cstddef>

namespace larkspin {

namespace {
constexpr size_t kStateCount = static_cast<size_t>(MainWindowState::kClosed) + 1;
constexpr size_t kEventCount = static_cast<size_t>(MainWindowEvent::kCloseAsked) + 1;
constexpr size_t kActionCount = static_cast<size_t>(MainWindowAction::kSettings) + 1;

// The state after each event, by state (rows, in the enum's order) and event (columns).
using enum MainWindowState;
constexpr MainWindowState kNextState[kStateCount][kEventCount] = {
    //                      peek started       connection kept    connection released  peek ended   close asked
    /* kIdle */             {kPeeking,          kConnected,        kIdle,               kIdle,       kClosed},
    /* kPeeking */          {kPeeking,          kPeekingConnected, kPeeking,            kIdle,       kClosingAfterPeek},
    /* kConnected */        {kPeekingConnected, kConnected,        kIdle,               kConnected,  kClosed},
    /* kPeekingConnected */ {kPeekingConnected, kPeekingConnected, kPeeking,            kConnected,  kClosingConnected},
    /* kClosingAfterPeek */ {kClosingAfterPeek, kClosingConnected, kClosingAfterPeek,   kClosed,     kClosingAfterPeek},
    /* kClosingConnected */ {kClosingConnected, kClosingConnected, kClosingAfterPeek,   kClosed,     kClosingConnected},
    /* kClosed */           {kClosed,           kClosed,           kClosed,             kClosed,     kClosed},
};

// What each state allows, by state (rows) and action (columns, in the enum's order).
constexpr bool kAllowed[kStateCount][kActionCount] = {
    //                      Connect Disconnect Close account folder   peek  admin  settings
    /* kIdle */             {true,  false,     true,  true,   true,    true,  true,  true},
    /* kPeeking */          {false, false,     true,  false,  false,   false, false, false},
    /* kConnected */        {false, true,      false, false,  false,   true,  true,  false},
    /* kPeekingConnected */ {false, true,      false, false,  false,   false, false, false},
    /* kClosingAfterPeek */ {false, false,     true,  false,  false,   false, false, false},
    /* kClosingConnected */ {false, true,      false, false,  false,   false, false, false},
    /* kClosed */           {false, false,     false, false,  false,   false, false, false},
};
}  // namespace

MainWindowState NextState(MainWindowState state, MainWindowEvent event) {
  return kNextState[static_cast<size_t>(state)][static_cast<size_t>(event)];
}

bool IsAllowed(MainWindowState state, MainWindowAction action) {
  return kAllowed[static_cast<size_t>(state)][static_cast<size_t>(action)];
}

bool PeekRuns(MainWindowState state) {
  return state == kPeeking || state == kPeekingConnected || state == kClosingAfterPeek || state == kClosingConnected;
}

bool KeepsConnection(MainWindowState state) {
  return state == kConnected || state == kPeekingConnected || state == kClosingConnected;
}

}  // namespace larkspin
