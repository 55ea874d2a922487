#pragma once
// The in-memory backend for tests. Windows run on it unchanged; a test acts as the user through
// CHeadlessWindow and answers, in order, what would otherwise wait for a person: modal dialogs
// (a script per modal run), message boxes, pop-up menus, the file-open and the print dialog.
// Everything shown is recorded for reading back. Without a queued answer a modal dialog ends
// as if Escape were pressed, a message box returns its default button (OK, Yes, or No with
// kBoxDefaultNo), a pop-up menu closes without a choice, and the file-open and print dialogs are
// cancelled. Work posted to the UI thread runs when the test pumps (PumpUiCalls, RunUntil).
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ui/backend.h"
#include "ui/headless/headless_printer.h"
#include "ui/headless/headless_window.h"
#include "ui/menu.h"

namespace larkspin {

struct ShownMessageBox {
  std::string text;
  std::string caption;
  unsigned style = 0;
  int answer = 0;
  CWindowPeer* owner = nullptr;
};

struct ShownNotification {
  std::string title;
  std::string text;
  CWindowPeer* owner = nullptr;
};

struct ShownPopupMenu {
  CMenu menu;
  Point screen_point;
  int chosen = 0;  // the command dispatched, 0 for none
};

class CHeadlessBackend : public CUiBackend {
 public:
  using ModalScript = std::function<void(CHeadlessWindow& window)>;

  CHeadlessBackend();
  ~CHeadlessBackend() override;

  void QueueModalScript(ModalScript script);
  void QueueMessageBoxAnswer(int button);
  void QueuePopupChoice(int command_id);
  void QueueFileToOpen(std::optional<std::string> path);
  void QueuePrinter(CHeadlessPrinter* printer);  // nullptr: the user cancels
  void QueuePrintFailure();                       // the printer reports an error

  const std::vector<ShownMessageBox>& MessageBoxes() const { return message_boxes_; }
  const std::vector<ShownPopupMenu>& PopupMenus() const { return popup_menus_; }
  const std::vector<ShownNotification>& Notifications() const { return notifications_; }
  // Whether the desktop has a notification service (it has one unless a test says otherwise).
  void SetNotificationServiceRunning(bool running) { notification_service_ = running; }
  const std::vector<int>& ModalRuns() const { return modal_runs_; }
  int WaitCursorDepth() const { return wait_cursor_depth_; }
  int WaitCursorShows() const { return wait_cursor_shows_; }
  int Beeps() const { return beeps_; }
  // How often RunWhileResponsive ran work on its own thread.
  int ResponsiveRuns() const { return responsive_runs_; }
  void SetCursorPosition(Point point) { cursor_ = point; }

  // The newest live window made from template_id, or the window of dialog; nullptr if none.
  CHeadlessWindow* Find(int template_id) const;
  CHeadlessWindow* WindowOf(const CDialog& dialog) const;

  // Runs the work that other threads have handed to the UI thread so far.
  void PumpUiCalls();
  // Pumps until done() holds or the time is up; answers done().
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

  // CUiBackend.
  std::unique_ptr<CWindowPeer> CreatePeer(CDialog& dialog, const DialogTemplate& layout, CWindowPeer* parent) override;
  int RunModal(CWindowPeer& peer) override;
  int MessageBox(CWindowPeer* owner, const std::string& text, const std::string& caption, unsigned style) override;
  bool ChooseFileToOpen(CWindowPeer* owner, std::string& path) override;
  PrintOutcome Print(CWindowPeer* owner, CPrintDocument& document) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override { --wait_cursor_depth_; }
  Point CursorPosition() const override { return cursor_; }
  void WarningBeep() override { ++beeps_; }
  bool ShowNotification(CWindowPeer* owner, const std::string& title, const std::string& text) override;
  bool IsUiThread() const override { return std::this_thread::get_id() == ui_thread_; }
  void RunOnUiThread(const std::function<void()>& work) override;
  void PostToUiThread(std::function<void()> work) override;
  void RunWhileResponsive(CWindowPeer* owner, const std::function<void()>& work) override;

 private:
  friend class CHeadlessWindow;
  void Register(CHeadlessWindow* window) { windows_.push_back(window); }
  void Unregister(CHeadlessWindow* window);
  int TakePopupChoice();

  struct UiCall {
    const std::function<void()>* work;
    bool done = false;
  };

  std::thread::id ui_thread_;
  std::vector<CHeadlessWindow*> windows_;
  std::deque<ModalScript> modal_scripts_;
  std::deque<int> message_box_answers_;
  std::deque<int> popup_choices_;
  std::deque<std::optional<std::string>> files_to_open_;
  // nullptr: cancelled; &failing_printer_: an error.
  std::deque<CHeadlessPrinter*> printers_;
  CHeadlessPrinter failing_printer_{{1, 1}, 1, 1};
  std::vector<ShownMessageBox> message_boxes_;
  std::vector<ShownPopupMenu> popup_menus_;
  std::vector<ShownNotification> notifications_;
  bool notification_service_ = true;
  std::vector<int> modal_runs_;
  int wait_cursor_depth_ = 0;
  int wait_cursor_shows_ = 0;
  int beeps_ = 0;
  int responsive_runs_ = 0;
  Point cursor_;

  std::mutex calls_mutex_;
  std::condition_variable calls_changed_;
  std::deque<UiCall*> pending_calls_;
  std::deque<std::function<void()>> posted_calls_;
};

}  // namespace larkspin
