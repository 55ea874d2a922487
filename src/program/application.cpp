#include "program/application.h"

#include <pthread.h>
#include <signal.h>

#include <thread>

#include "config/log.h"
#include "main_window/dlg_main.h"
#include "ui/wx/wx_backend.h"

namespace larkspin {

namespace {
CDlgMain* running_window = nullptr;  // touched on the UI thread only

// SIGTERM and SIGINT close the window the way Exit does, so that the profile and the log are
// written as at every ordinary end, also while a modal window or message box is open (a desktop
// logout waits for the program): those are ended first. The signals are taken by a thread of
// their own (sigwait), which hands the close to the UI thread; SIGUSR1 ends that thread when the
// window is gone.
class CCloseOnSignal {
 public:
  CCloseOnSignal() {
    sigemptyset(&signals_);
    for (const int signal : {SIGTERM, SIGINT, SIGUSR1}) sigaddset(&signals_, signal);
    pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
    thread_ = std::thread([this] { Wait(); });
  }
  ~CCloseOnSignal() {
    pthread_kill(thread_.native_handle(), SIGUSR1);
    thread_.join();
    pthread_sigmask(SIG_UNBLOCK, &signals_, nullptr);
  }

 private:
  void Wait() {
    int signal = 0;
    while (sigwait(&signals_, &signal) == 0 && signal != SIGUSR1) {
      CWxBackend::WhenIdle([] {
        CWxBackend::EndModalWindowsThen([] {
          if (running_window) running_window->HandleCommand(kCommandExit);
        });
      });
    }
  }

  sigset_t signals_;
  std::thread thread_;
};
}  // namespace

int RunApplication(int argc, char** argv, const ApplicationOptions& options) {
  return RunWithWxBackend(argc, argv, [&] {
    MainWindowServices services;
    services.connect_when_shown = options.connect_at_start;
    CDlgMain main_window(std::move(services));
    CCloseOnSignal close_on_signal;
    running_window = &main_window;
    main_window.DoModal();
    running_window = nullptr;
    return 0;
  }, [](const std::string& text) { LogEvent(text); });
}

}  // namespace larkspin
