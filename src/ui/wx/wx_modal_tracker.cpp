#include "ui/wx/wx_modal_tracker.h"

#include <glib-object.h>

#include <algorithm>
#include <utility>

#include <wx/msgdlg.h>

#include "ui/dialog.h"
#include "ui/wx/wx_window.h"

namespace larkspin {

namespace {
CWxModalTracker* running_tracker = nullptr;

// The toolkit's native message box runs GTK's own dialog loop, which ends when the dialog emits
// "response"; this is GTK_RESPONSE_DELETE_EVENT, the answer of its close box.
constexpr int kCloseBoxResponse = -4;

// What a refused window's modal run returns: Cancel in the program's ids for its own windows,
// in the toolkit's for the others.
int RefusedResult(wxDialog* dialog) { return dynamic_cast<CWxDialog*>(dialog) ? kIdCancel : wxID_CANCEL; }
}  // namespace

CWxModalTracker::CWxModalTracker() {
  Register();
  running_tracker = this;
}

CWxModalTracker::~CWxModalTracker() {
  Stop();
  running_tracker = nullptr;
}

CWxModalTracker* CWxModalTracker::Running() { return running_tracker; }

void CWxModalTracker::EndAllThen(std::function<void()> close_program) {
  if (ending_) return;
  ending_ = true;
  close_program_ = std::move(close_program);
  Notify();
  if (close_program_) Start(kRetryMs);
}

int CWxModalTracker::Enter(wxDialog* dialog) {
  if (ending_) return RefusedResult(dialog);
  open_.push_back(dialog);
  return wxID_NONE;
}

void CWxModalTracker::Exit(wxDialog* dialog) { open_.erase(std::remove(open_.begin(), open_.end(), dialog), open_.end()); }

void CWxModalTracker::Notify() {
  if (!open_.empty()) {
    End(open_.back());
    return;
  }
  Stop();
  if (close_program_) std::exchange(close_program_, {})();
}

void CWxModalTracker::End(wxDialog* dialog) {
  if (auto* own = dynamic_cast<CWxDialog*>(dialog)) {
    if (own->Owner()) own->Owner()->Dialog().HandleProgramEnd();
  } else if (dynamic_cast<wxMessageDialog*>(dialog)) {
    if (dialog->GetHandle()) g_signal_emit_by_name(dialog->GetHandle(), "response", kCloseBoxResponse);
  } else if (dialog->IsModal()) {
    dialog->EndModal(wxID_CANCEL);
  }
}

}  // namespace larkspin
