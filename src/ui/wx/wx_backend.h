#pragma once
// The wxWidgets backend: real windows on the desktop. Nothing outside src/ui/wx includes wx;
// programs start the toolkit through RunWithWxBackend.
#include <functional>
#include <memory>
#include <string>

#include "ui/backend.h"
#include "ui/wx/wx_notification.h"

namespace larkspin {

class CWxWindow;

class CWxBackend : public CUiBackend {
 public:
  std::unique_ptr<CWindowPeer> CreatePeer(CDialog& dialog, const DialogTemplate& layout, CWindowPeer* parent) override;
  int RunModal(CWindowPeer& peer) override;
  int MessageBox(CWindowPeer* owner, const std::string& text, const std::string& caption, unsigned style) override;
  bool ChooseFileToOpen(CWindowPeer* owner, std::string& path) override;
  PrintOutcome Print(CWindowPeer* owner, CPrintDocument& document) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  Point CursorPosition() const override;
  void WarningBeep() override;
  bool ShowNotification(CWindowPeer* owner, const std::string& title, const std::string& text) override;
  bool IsUiThread() const override;
  void RunOnUiThread(const std::function<void()>& work) override;
  void PostToUiThread(std::function<void()> work) override;
  void RunWhileResponsive(CWindowPeer* owner, const std::function<void()>& work) override;

  // The window of dialog, for programs and tests that act on the real controls.
  static CWxWindow* WindowOf(CDialog& dialog);
  // Types text into the edit field id of dialog's window, as the keyboard would.
  static void TypeText(CDialog& dialog, int id, const std::string& text);
  // Presses the push button id of dialog's window, as a click would.
  static void PressButton(CDialog& dialog, int id);
  // Opens the menu of the menu bar's title at position, as a click on the title would; returns
  // when the menu has closed again. False when the window has no such title.
  static bool OpenMenu(CDialog& dialog, size_t position);
  // Runs work once the toolkit is idle again (after the windows opened so far are drawn).
  static void WhenIdle(std::function<void()> work);
  // On the UI thread, for a termination: ends every open modal window and message box (a box
  // answers as its close box would: Cancel, No, or OK), refuses those opened afterwards, and
  // then runs close_program once.
  static void EndModalWindowsThen(std::function<void()> close_program);
  // Writes a picture of the dialog's window, as the X server shows it, to a PNG file.
  static bool SaveScreenshot(CDialog& dialog, const std::string& png_path);

 private:
  CWxNotifier notifier_;
};

// What the toolkit says when one of its own checks fails; the program writes it to its log.
using ToolkitAssertionReport = std::function<void(const std::string& text)>;

// Starts the toolkit, installs the wx backend, runs body and shuts the toolkit down again;
// answers body's result, or 1 when there is no display. A failed check of the toolkit never
// shows a box: it goes to standard error and to report, and with LARKSPIN_ABORT_ON_ASSERT set in
// the environment (the window tests set it) the process aborts, so the test fails.
int RunWithWxBackend(int argc, char** argv, const std::function<int()>& body,
                     const ToolkitAssertionReport& report = {});

}  // namespace larkspin
