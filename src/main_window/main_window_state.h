#pragma once
// The main window's connection and peek state in one value, the events that move it, and the
// commands each state allows. Nothing here draws: the window keeps one MainWindowState, moves it
// with NextState at each event, and then gives each drawn command's control the enabled state
// IsAllowed names for the new state (on every event, also one that leaves the state as it is).
//
// Both tables, the transitions and the commands each state allows, are written down once, in
// main_window_state.cpp.

namespace larkspin {

enum class MainWindowState {
  kIdle,               // no peek runs, no connection is kept
  kPeeking,            // a peek runs on the worker thread
  kConnected,          // a one-account peek ended and kept its connection for the user's Disconnect
  kPeekingConnected,   // a peek runs while a connection is kept (a one-account peek's own end)
  kClosingAfterPeek,   // the user closed the window during a peek: it closes at the peek's end
  kClosingConnected,   // the same while a connection is kept
  kClosed,             // the window has been ended
};

enum class MainWindowEvent {
  kPeekStarted,           // Connect, or the countdown's automatic peek
  kConnectionKept,        // a one-account peek listed its rows and keeps the connection
  kConnectionReleased,    // a logout, a lost connection or a refused login
  kPeekEnded,             // the peek's last event has been applied
  kCloseAsked,            // Close, Exit, Enter or the close box
};

enum class MainWindowAction {
  // Drawn: each is a control whose enabled state follows the state.
  kConnect,
  kDisconnect,
  kClose,
  kAccountSelector,
  kFolderSelector,
  // Guarded: refused (or skipped) when the state does not allow them.
  kPeek,          // a peek or a logout on the POP3 client: Connect, the countdown, the idle close,
                  // opening a message not stored yet
  kAccountAdmin,  // what touches the current account and the rows: Reset Login and Password,
                  // Unlock Account, another folder view
  kSettings,      // what reads config.ini again: the account dialog, Reload settings
};

// The state after event in state.
MainWindowState NextState(MainWindowState state, MainWindowEvent event);

bool IsAllowed(MainWindowState state, MainWindowAction action);

// A peek's worker still runs (and owns the POP3 client, the account and the rows).
bool PeekRuns(MainWindowState state);
// A connection is kept for the user: Disconnect ends it.
bool KeepsConnection(MainWindowState state);

}  // namespace larkspin
