// Carrying out the delete marks on the server (the delete loop) and the Disconnect command,
// which asks first, deletes, logs out and returns the window to its idle state. Both run on the
// thread that calls them: the UI thread for the button, the peek worker during a peek.
#include "config/log.h"
#include "common/format.h"
#include "common/message_box.h"
#include "main_window/dlg_main.h"

namespace larkspin {

namespace {
// The first row marked for deletion, or -1.
int FirstMarkedRow(const CDlgMain& window) {
  for (int position = 0; position < window.HeaderList().RowCount(); ++position) {
    const HeaderRow* row = window.RowRecord(position);
    if (row && row->delete_mark) return position;
  }
  return -1;
}

int MarkedRowCount(const CDlgMain& window) {
  int count = 0;
  for (int position = 0; position < window.HeaderList().RowCount(); ++position) {
    const HeaderRow* row = window.RowRecord(position);
    if (row && row->delete_mark) ++count;
  }
  return count;
}
}  // namespace

int CDlgMain::DeleteLoop() {
  int deleted = 0;
  while (true) {
    // Server numbers do not change before QUIT, so each walk starts again from the top.
    int position = -1;
    int message_number = 0;
    OnUi([&] {
      position = FirstMarkedRow(*this);
      if (position < 0) return;
      message_number = RowRecord(position)->message_number;
      SetStatusText(FormatText("Delete message %d from server", position + 1));
    });
    if (position < 0) return deleted;
    if (!client_.Delete(message_number)) {
      const std::string text = "Error Delete: " + client_.LastReply();
      OnUi([&] { MessageBox(text, kBoxOk); });
      return -1;
    }
    ++deleted;
    OnUi([&] { RemoveRow(position); });
  }
}

void CDlgMain::Disconnect() {
  int marked = 0;
  OnUi([&] { marked = MarkedRowCount(*this); });
  if (marked > 0) {
    const std::string question = FormatText(
        language_.Template("Messages", "AskDelete",
                           "Are you sure you want to delete the marked %d email(s) from the server ?").c_str(),
        marked);
    int answer = kButtonNo;
    OnUi([&] { answer = MessageBox(question, kBoxYesNo | kBoxIconQuestion); });
    if (answer != kButtonYes) return;
  }
  const int deleted = DeleteLoop();
  if (deleted > 0)
    LogEvent(FormatText(
        language_.Template("Messages", "Deleted", "%d message(s) deleted from server - Logout.").c_str(), deleted));
  if (connected_) {
    const std::string disconnecting = language_.Text("Messages", "Disconnecting", "Disconnecting from server...");
    OnUi([&] { SetStatusText(disconnecting); });
    Pause(services_.waits.disconnect_step);
    if (client_.Disconnect()) {
      OnUi([&] { SetStatusText(disconnecting + "Ok"); });
      connected_ = false;
      Pause(services_.waits.disconnect_step);
    } else {
      const std::string failure = "Error Disconnect: " + client_.LastReply();
      OnUi([&] { SetStatusText(failure); });
      LogEvent(failure);
    }
    if (deleted > 0) OnUi([&] { SetWindowText(FormatText("(%d) %s", server_count_ - deleted, "Larkspin")); });
  }
  OnUi([&] {
    LeaveBusyState();
    progress_.SetPos(0);
    if (peek_minutes_ > 0) {
      automatic_peek_ = true;
      SetTimer(kCountdownTimer, kTimerPeriodMs);
    }
    if (manual_connection_) {
      KillTimer(kIdleTimer);
      manual_connection_ = false;
    }
  });
}

}  // namespace larkspin
