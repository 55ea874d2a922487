#pragma once
// The modal windows and message boxes the toolkit runs, innermost last, so that the program can
// end while one is open (a desktop logout sends SIGTERM and waits): the ending closes them one
// after the other, innermost first, refuses every one opened afterwards, and then closes the
// program's main window, which writes the profile as at every ordinary end.
#include <functional>
#include <vector>

#include <wx/modalhook.h>
#include <wx/timer.h>

namespace larkspin {

class CWxModalTracker : public wxModalDialogHook, private wxTimer {
 public:
  CWxModalTracker();
  ~CWxModalTracker() override;

  // The tracker of the running toolkit; nullptr outside RunWithWxBackend.
  static CWxModalTracker* Running();

  // On the UI thread: ends every open modal window (as its OnProgramEnd says) and message box
  // (as its close box would), innermost first, refuses those opened from now on, and runs
  // close_program once none is open. A window that stays open is asked again every
  // kRetryMs. A second call changes nothing.
  void EndAllThen(std::function<void()> close_program);
  bool Ending() const { return ending_; }

  static constexpr int kRetryMs = 100;

 protected:
  int Enter(wxDialog* dialog) override;
  void Exit(wxDialog* dialog) override;

 private:
  void Notify() override;  // the next step of the ending
  static void End(wxDialog* dialog);

  std::vector<wxDialog*> open_;
  bool ending_ = false;
  std::function<void()> close_program_;
};

}  // namespace larkspin
