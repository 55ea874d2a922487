#include "account_dialog/account_sign_in.h"

#include "ui/backend.h"
#include "ui/dialog.h"

namespace larkspin {

void CAccountSignIn::Start(const std::string& section, OpenConsentPage open_page) {
  if (running_) return;
  if (worker_.joinable()) worker_.join();  // it has made its last UI call
  stop_ = false;
  running_ = true;
  worker_ = std::thread([this, section, open_page = std::move(open_page)] { Run(section, open_page); });
}

void CAccountSignIn::Stop() {
  if (!worker_.joinable()) return;
  if (!running_) {
    worker_.join();
    return;
  }
  {
    std::lock_guard lock(wait_mutex_);
    stop_ = true;
  }
  wait_ended_.notify_all();
  // The thread's last report waits for the UI thread, which serves it while it waits here.
  UiBackend().RunWhileResponsive(owner_.Peer(), [this] { worker_.join(); });
}

void CAccountSignIn::Run(const std::string& section, const OpenConsentPage& open_page) {
  CHttpClient http(&stop_);
  SignInHooks hooks;
  hooks.show_code = [&](const std::string& code, const std::string& uri) {
    open_page(uri);
    RunOnUiThread([&] { reports_.device_code(code, uri); });
  };
  hooks.wait = [this](std::chrono::seconds wait) { WaitBetweenPolls(wait); };
  hooks.open = [&](const std::string& url) {
    if (!open_page(url)) return false;
    RunOnUiThread([&] { reports_.waiting_for_browser(); });
    return true;
  };
  hooks.stop = &stop_;
  const SignInResult result = SignInWithProvider(section, http, hooks);
  RunOnUiThread([&] {
    running_ = false;
    reports_.finished(result);
  });
}

void CAccountSignIn::WaitBetweenPolls(std::chrono::seconds wait) {
  std::unique_lock lock(wait_mutex_);
  wait_ended_.wait_for(lock, wait, [this] { return stop_.load(); });
}

}  // namespace larkspin
