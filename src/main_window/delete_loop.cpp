// The Disconnect command: asks first when rows are marked for deletion, deletes them on the
// server, logs out and returns the window to its idle state. It talks to the server on the
// thread that calls it and to the window through OnUi.
#include "common/format.h"
#include "common/message_box.h"
#include "config/log.h"
#include "main_window/dlg_main.h"

namespace larkspin {

void CDlgMain::Disconnect(DisconnectCause cause) {
  std::vector<DeleteOrder> orders;
  bool confirmed = true;
  OnUi([&] {
    orders = model_.DeleteOrders(list_.RowKeys());
    if (orders.empty()) return;
    // What auto rules marked at an automatic peek goes without asking.
    if (cause == DisconnectCause::kWindow && countdown_.Automatic() && model_.OnlyAutomaticDeletions()) return;
    const std::string question = FormatText(
        language_.Template("Messages", "AskDelete",
                           "Are you sure you want to delete the marked %d email(s) from the server ?").c_str(),
        static_cast<int>(orders.size()));
    const unsigned default_no = cause == DisconnectCause::kWindow ? kBoxDefaultNo : 0;
    confirmed = MessageBox(question, kBoxYesNo | kBoxIconQuestion | default_no) == kButtonYes;
  });
  if (!confirmed && cause == DisconnectCause::kUser) return;
  const int deleted = confirmed ? session_.DeleteMarked(orders, *this) : 0;
  if (deleted > 0)
    LogEvent(FormatText(
        language_.Template("Messages", "Deleted", "%d message(s) deleted from server - Logout.").c_str(), deleted));
  if (session_.Connected()) {
    SetSessionTexts(MakeSessionTexts());
    session_.LogOut(services_.waits.disconnect_step, *this);
    if (deleted > 0)
      OnUi([&] { SetWindowText(FormatText("(%d) %s", list_.RowCount(), "Larkspin")); });
  }
  OnUi([&] { ReturnToIdle(); });
}

void CDlgMain::ReturnToIdle() {
  ApplyState(MainWindowEvent::kConnectionReleased);
  progress_.SetPos(0);
  if (countdown_.ConnectionEnded()) KillTimer(kIdleTimer);
  if (countdown_.Runs()) SetTimer(kCountdownTimer, kTimerPeriodMs);
}

}  // namespace larkspin
