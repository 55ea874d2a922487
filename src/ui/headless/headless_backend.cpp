#include "ui/headless/headless_backend.h"

#include <algorithm>

#include "common/message_box.h"
#include "ui/dialog.h"
#include "ui/print.h"

namespace larkspin {

CHeadlessBackend::CHeadlessBackend() : ui_thread_(std::this_thread::get_id()) {}

CHeadlessBackend::~CHeadlessBackend() = default;

void CHeadlessBackend::QueueModalScript(ModalScript script) { modal_scripts_.push_back(std::move(script)); }
void CHeadlessBackend::QueueMessageBoxAnswer(int button) { message_box_answers_.push_back(button); }
void CHeadlessBackend::QueuePopupChoice(int command_id) { popup_choices_.push_back(command_id); }
void CHeadlessBackend::QueueFileToOpen(std::optional<std::string> path) { files_to_open_.push_back(std::move(path)); }
void CHeadlessBackend::QueuePrinter(CHeadlessPrinter* printer) { printers_.push_back(printer); }
void CHeadlessBackend::QueuePrintFailure() { printers_.push_back(&failing_printer_); }

CHeadlessWindow* CHeadlessBackend::Find(int template_id) const {
  for (auto window = windows_.rbegin(); window != windows_.rend(); ++window)
    if ((*window)->TemplateId() == template_id) return *window;
  return nullptr;
}

CHeadlessWindow* CHeadlessBackend::WindowOf(const CDialog& dialog) const {
  for (CHeadlessWindow* window : windows_)
    if (&window->Dialog() == &dialog) return window;
  return nullptr;
}

void CHeadlessBackend::Unregister(CHeadlessWindow* window) {
  windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
}

int CHeadlessBackend::TakePopupChoice() {
  if (popup_choices_.empty()) return 0;
  const int choice = popup_choices_.front();
  popup_choices_.pop_front();
  return choice;
}

std::unique_ptr<CWindowPeer> CHeadlessBackend::CreatePeer(CDialog& dialog, const DialogTemplate& layout,
                                                          CWindowPeer* parent) {
  return std::make_unique<CHeadlessWindow>(*this, dialog, layout, static_cast<CHeadlessWindow*>(parent));
}

int CHeadlessBackend::RunModal(CWindowPeer& peer) {
  auto& window = static_cast<CHeadlessWindow&>(peer);
  window.modal_ = true;
  modal_runs_.push_back(window.TemplateId());
  if (window.ended_) return window.end_result_;  // ended during its initialisation
  window.Show(true);
  if (!window.ended_ && !modal_scripts_.empty()) {
    ModalScript script = std::move(modal_scripts_.front());
    modal_scripts_.pop_front();
    script(window);
  }
  if (!window.ended_) window.PressEscape();
  if (!window.ended_) window.EndModal(kIdCancel);  // a window that refuses Escape still has to end here
  window.modal_ = false;
  return window.end_result_;
}

int CHeadlessBackend::MessageBox(CWindowPeer* owner, const std::string& text, const std::string& caption,
                                 unsigned style) {
  int answer = DefaultButtonOfStyle(style);
  if (!message_box_answers_.empty()) {
    answer = message_box_answers_.front();
    message_box_answers_.pop_front();
  }
  message_boxes_.push_back({text, caption, style, answer, owner});
  return answer;
}

bool CHeadlessBackend::ChooseFileToOpen(CWindowPeer* /*owner*/, std::string& path) {
  if (files_to_open_.empty()) return false;
  std::optional<std::string> answer = std::move(files_to_open_.front());
  files_to_open_.pop_front();
  if (!answer) return false;
  path = *answer;
  return true;
}

PrintOutcome CHeadlessBackend::Print(CWindowPeer* /*owner*/, CPrintDocument& document) {
  CHeadlessPrinter* chosen = printers_.empty() ? nullptr : printers_.front();
  if (!printers_.empty()) printers_.pop_front();
  if (chosen == &failing_printer_) return PrintOutcome::kFailed;
  if (!chosen) return PrintOutcome::kCancelled;
  CHeadlessPrinter& printer = *chosen;
  const int pages = document.Paginate(printer);
  for (int page = 0; page < pages; ++page) {
    printer.StartPage();
    document.DrawPage(printer, page);
  }
  return PrintOutcome::kPrinted;
}

void CHeadlessBackend::BeginWaitCursor() {
  ++wait_cursor_depth_;
  ++wait_cursor_shows_;
}

bool CHeadlessBackend::ShowNotification(CWindowPeer* owner, const std::string& title, const std::string& text) {
  if (!notification_service_) return false;
  notifications_.push_back({title, text, owner});
  return true;
}

void CHeadlessBackend::RunOnUiThread(const std::function<void()>& work) {
  if (IsUiThread()) {
    work();
    return;
  }
  UiCall call{&work};
  std::unique_lock lock(calls_mutex_);
  pending_calls_.push_back(&call);
  calls_changed_.notify_all();
  calls_changed_.wait(lock, [&] { return call.done; });
}

void CHeadlessBackend::RunWhileResponsive(CWindowPeer* /*owner*/, const std::function<void()>& work) {
  ++responsive_runs_;
  bool done = false;
  std::thread worker([&] {
    work();
    std::lock_guard lock(calls_mutex_);
    done = true;
    calls_changed_.notify_all();
  });
  for (;;) {
    PumpUiCalls();
    std::unique_lock lock(calls_mutex_);
    const auto calls_waiting = [&] { return !pending_calls_.empty() || !posted_calls_.empty(); };
    calls_changed_.wait(lock, [&] { return done || calls_waiting(); });
    if (done && !calls_waiting()) break;
  }
  worker.join();
}

void CHeadlessBackend::PostToUiThread(std::function<void()> work) {
  std::lock_guard lock(calls_mutex_);
  posted_calls_.push_back(std::move(work));
  calls_changed_.notify_all();
}

void CHeadlessBackend::PumpUiCalls() {
  std::unique_lock lock(calls_mutex_);
  while (!posted_calls_.empty()) {
    std::function<void()> work = std::move(posted_calls_.front());
    posted_calls_.pop_front();
    lock.unlock();
    work();
    lock.lock();
  }
  while (!pending_calls_.empty()) {
    UiCall* call = pending_calls_.front();
    pending_calls_.pop_front();
    lock.unlock();
    (*call->work)();
    lock.lock();
    call->done = true;
    calls_changed_.notify_all();
  }
}

bool CHeadlessBackend::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    PumpUiCalls();
    if (done()) return true;
    std::unique_lock lock(calls_mutex_);
    if (std::chrono::steady_clock::now() >= deadline) return false;
    calls_changed_.wait_until(lock, std::min(deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(5)),
                              [&] { return !pending_calls_.empty() || !posted_calls_.empty(); });
  }
}

}  // namespace larkspin
