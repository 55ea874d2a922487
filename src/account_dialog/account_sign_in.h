#pragma once
// An account's OAuth sign-in run for a window on a thread of its own, so the window keeps working
// while the user consents at the provider: the device flow where the provider has one, else the
// loopback flow. What the flow shows and how it ended reach the window on the UI thread. Stop
// ends the waiting soon (the loopback listener closes, a token request in flight is dropped) and
// returns once the thread has ended, the windows painting meanwhile.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "config/oauth_sign_in.h"

namespace larkspin {

class CDialog;

// Each runs on the UI thread.
struct SignInReports {
  ShowDeviceCode device_code;               // the code to enter, and its page (given to the opener)
  std::function<void()> waiting_for_browser;  // the consent page was handed to the opener
  std::function<void(const SignInResult&)> finished;
};

class CAccountSignIn {
 public:
  CAccountSignIn(CDialog& owner, SignInReports reports) : owner_(owner), reports_(std::move(reports)) {}
  ~CAccountSignIn() { Stop(); }
  CAccountSignIn(const CAccountSignIn&) = delete;
  CAccountSignIn& operator=(const CAccountSignIn&) = delete;

  // Between Start and the finished report (UI thread).
  bool Running() const { return running_; }
  // Signs section's account in; open_page opens the consent page or the device code's page in
  // the browser (on the sign-in's thread). Nothing happens while one is running.
  void Start(const std::string& section, OpenConsentPage open_page);
  // Ends a running sign-in (its finished report says it was stopped); on the UI thread.
  void Stop();

 private:
  void Run(const std::string& section, const OpenConsentPage& open_page);
  void WaitBetweenPolls(std::chrono::seconds wait);

  CDialog& owner_;
  SignInReports reports_;
  bool running_ = false;
  std::atomic<bool> stop_{false};
  std::mutex wait_mutex_;
  std::condition_variable wait_ended_;
  std::thread worker_;
};

}  // namespace larkspin
