#pragma once
// The window toolkit behind the framework: makes window peers, runs modal loops, and shows the
// toolkit's own dialogs. One backend is installed per process (the wx backend in the program,
// the headless backend in tests).
#include <functional>
#include <memory>
#include <string>

#include "res/resource_types.h"
#include "ui/geometry.h"
#include "ui/print.h"

namespace larkspin {

class CDialog;
class CWindowPeer;

class CUiBackend {
 public:
  virtual ~CUiBackend() = default;

  // A window for dialog, built from the template; parent may be nullptr.
  virtual std::unique_ptr<CWindowPeer> CreatePeer(CDialog& dialog, const DialogTemplate& layout,
                                                  CWindowPeer* parent) = 0;
  // Shows the window and runs until CWindowPeer::EndModal; returns its result.
  virtual int RunModal(CWindowPeer& peer) = 0;

  // A modal message box with a style of common/message_box.h above owner, which is raised first
  // (nullptr: above the toolkit's top window); returns the button pressed.
  virtual int MessageBox(CWindowPeer* owner, const std::string& text, const std::string& caption,
                         unsigned style) = 0;
  // The file-open dialog; true with the chosen path, false when cancelled.
  virtual bool ChooseFileToOpen(CWindowPeer* owner, std::string& path) = 0;
  // The print dialog, then the document's pages on the chosen printer.
  virtual PrintOutcome Print(CWindowPeer* owner, CPrintDocument& document) = 0;

  // The wait cursor, nested: shown while the count is above 0.
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;
  virtual Point CursorPosition() const = 0;
  // The warning beep.
  virtual void WarningBeep() = 0;
  // A desktop notification of a title and plain-text lines; a click on it raises owner's window.
  // A newer notification replaces the one shown before. False when the desktop has no
  // notification service: nothing is shown then, and nothing else happens.
  virtual bool ShowNotification(CWindowPeer* owner, const std::string& title, const std::string& text) = 0;

  virtual bool IsUiThread() const = 0;
  // Runs work on the UI thread and returns when it has finished. On the UI thread itself it runs
  // at once. The UI thread must never wait for a thread that is waiting here.
  virtual void RunOnUiThread(const std::function<void()>& work) = 0;
  // Hands work to the UI thread and returns at once; it runs when the UI thread is next idle.
  virtual void PostToUiThread(std::function<void()> work) = 0;
  // Called on the UI thread: runs work on a thread of its own and returns when it has finished.
  // Meanwhile the windows take no input but keep repainting, and work may use RunOnUiThread
  // (for a message box, say); owner is the window that waits.
  virtual void RunWhileResponsive(CWindowPeer* owner, const std::function<void()>& work) = 0;
};

// Installs the backend (and routes the engine's formatted message boxes to it) for the lifetime
// of this object; the previous backend and message-box handler come back afterwards.
class CScopedUiBackend {
 public:
  explicit CScopedUiBackend(CUiBackend& backend);
  ~CScopedUiBackend();
  CScopedUiBackend(const CScopedUiBackend&) = delete;
  CScopedUiBackend& operator=(const CScopedUiBackend&) = delete;

 private:
  CUiBackend* previous_;
  struct SavedHandler;
  std::unique_ptr<SavedHandler> saved_handler_;
};

// The installed backend; a program without one has no windows (this aborts).
CUiBackend& UiBackend();

// Shorthand for UiBackend().RunOnUiThread(work).
void RunOnUiThread(const std::function<void()>& work);
// Posts work to the installed backend's UI thread from any thread; without a backend (the
// windows are gone) the work is dropped.
void PostToUiThread(std::function<void()> work);

// Shows the wait cursor for the lifetime of the object.
class CWaitCursor {
 public:
  CWaitCursor() { UiBackend().BeginWaitCursor(); }
  ~CWaitCursor() { UiBackend().EndWaitCursor(); }
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// The caption of the program's message boxes.
inline constexpr const char* kMessageBoxCaption = "Larkspin";

}  // namespace larkspin
