#pragma once
// What the tests of the real windows share: a sound output that stays silent, a main window that
// peeks at start, and waiting on the test's own thread for a condition checked on the UI thread.
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "main_window/dlg_main.h"
#include "main_window/new_mail_sound.h"
#include "ui/backend.h"

namespace larkspin::test_support {

class CSilentSound : public CSoundOutput {
 public:
  void PlayWaveFile(const std::string&) override {}
  void Tone(int, int) override {}
};

// The services of a main window that peeks as soon as it shows, with the profile store of
// profile_path and the given sound.
inline MainWindowServices PeekAtStartServices(const std::string& profile_path, CSoundOutput& sound) {
  MainWindowServices services;
  services.profile = CProfileStore(profile_path);
  services.sound = &sound;
  services.connect_when_shown = true;
  return services;
}

// Waits on the test's own thread until check, run on the UI thread, holds.
inline bool WaitOnUi(const std::function<bool()>& check, std::chrono::seconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    bool done = false;
    RunOnUiThread([&] { done = check(); });
    if (done) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

}  // namespace larkspin::test_support
