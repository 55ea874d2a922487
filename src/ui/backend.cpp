#include "ui/backend.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "common/message_box.h"
#include "ui/dialog.h"

namespace larkspin {

namespace {
CUiBackend* installed_backend = nullptr;
// Guards installed_backend against a post from another thread while a backend is swapped.
std::mutex installed_mutex;

// Engine message boxes may come from a worker thread; the box itself is shown on the UI thread.
int ShowEngineMessageBox(unsigned style, const std::string& text) {
  CUiBackend& backend = UiBackend();
  int button = kButtonOk;
  backend.RunOnUiThread([&] { button = backend.MessageBox(ActingWindow(), text, kMessageBoxCaption, style); });
  return button;
}
}  // namespace

struct CScopedUiBackend::SavedHandler {
  MessageBoxHandler handler;
};

CScopedUiBackend::CScopedUiBackend(CUiBackend& backend)
    : previous_(installed_backend), saved_handler_(std::make_unique<SavedHandler>()) {
  {
    std::lock_guard lock(installed_mutex);
    installed_backend = &backend;
  }
  saved_handler_->handler = SetMessageBoxHandler(ShowEngineMessageBox);
}

CScopedUiBackend::~CScopedUiBackend() {
  SetMessageBoxHandler(std::move(saved_handler_->handler));
  std::lock_guard lock(installed_mutex);
  installed_backend = previous_;
}

CUiBackend& UiBackend() {
  if (!installed_backend) {
    std::fprintf(stderr, "larkspin: no window backend installed\n");
    std::abort();
  }
  return *installed_backend;
}

void RunOnUiThread(const std::function<void()>& work) { UiBackend().RunOnUiThread(work); }

void PostToUiThread(std::function<void()> work) {
  std::lock_guard lock(installed_mutex);
  if (installed_backend) installed_backend->PostToUiThread(std::move(work));
}

}  // namespace larkspin
