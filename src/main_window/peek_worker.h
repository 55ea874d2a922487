#pragma once
// One peek: GetHeadersThread logs into the selected account's POP3 server (or into every
// account's in turn while the account selector stands on "All Accounts"), carries out the
// download and delete marks left in the header list, and fills the list with one row per waiting
// message from its header alone ("TOP n 0").
//
// The worker runs on a thread of its own and uses the main window's POP3 client and current
// account without locks; the window keeps every other user of them away while a peek runs
// (CDlgMain::PeekRunning: Connect, the countdown's next peek, the selectors and Close wait).
// It changes the window only through RunOnUiThread, which runs the change on the UI thread and
// waits for it, the way a synchronous window message does.
//
// Reports arrive in CDlgMain::OnWorkerReport, the window's message 1124, as a code and a text:
//
//   0    kReportStatus           set the status line to the text
//   1    kReportStatusLeaveBusy  set the status line and leave the busy state
//   2    kReportStatusEnterBusy  set the status line and enter the busy state
//   100  kReportProgressStep     advance the progress bar by one step; the text is not used
//
// Questions to the user mid-peek take the same way: the login and password prompts of a
// single-account peek (EnsureCredentials), the box of a failed connection, the "Error Delete: "
// box and the Disconnect question all run modally on the UI thread while the worker waits. An
// all-accounts peek asks nothing: an account without a stored login or password is skipped.
//
// The UI thread never waits for the worker. The peek ends with one last UI call
// (CDlgMain::PeekFinished); after it returns, the thread touches the window no more, so the
// window may then join it.

namespace larkspin {

class CDlgMain;

enum PeekReport : int {
  kReportStatus = 0,
  kReportStatusLeaveBusy = 1,
  kReportStatusEnterBusy = 2,
  kReportProgressStep = 100,
};

// The fixed waits of a peek and of the disconnect command, in milliseconds. Tests shorten them.
struct PeekWaits {
  int before_header = 10;       // before each TOP request
  int before_new_login = 150;   // between the logout after deletions and the new login
  int around_disconnect = 50;   // before and after each disconnect of an all-accounts peek
  int disconnect_step = 20;     // before and after QUIT in the disconnect command
};

// The thread procedure of one peek; returns 1.
int GetHeadersThread(CDlgMain& window);

}  // namespace larkspin
