#include "ui/wx/wx_backend.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

#include <wx/app.h>
#include <wx/debug.h>
#include <wx/evtloop.h>
#include <wx/filedlg.h>
#include <wx/init.h>
#include <wx/msgdlg.h>
#include <wx/thread.h>
#include <wx/utils.h>

#include "common/format.h"
#include "common/message_box.h"
#include "ui/dialog.h"
#include "ui/wx/wx_modal_tracker.h"
#include "ui/wx/wx_print.h"
#include "ui/wx/wx_text.h"
#include "ui/wx/wx_window.h"

extern char** environ;

namespace larkspin {

namespace {

wxWindow* FrameOf(CWindowPeer* peer) { return peer ? static_cast<CWxWindow*>(peer)->Frame() : nullptr; }

long MessageDialogStyle(unsigned style) {
  long wx_style = 0;
  switch (style & 0xF) {
    case kBoxYesNo: wx_style = wxYES_NO | (style & kBoxDefaultNo ? wxNO_DEFAULT : wxYES_DEFAULT); break;
    case kBoxYesNoCancel:
      wx_style = wxYES_NO | wxCANCEL | (style & kBoxDefaultNo ? wxNO_DEFAULT : wxYES_DEFAULT);
      break;
    case kBoxOkCancel: wx_style = wxOK | wxCANCEL; break;
    default: wx_style = wxOK; break;
  }
  if (style & kBoxPlain) return wx_style;
  switch (style & 0xF0) {
    case kBoxIconError: return wx_style | wxICON_ERROR;
    case kBoxIconQuestion: return wx_style | wxICON_QUESTION;
    case kBoxIconInformation: return wx_style | wxICON_INFORMATION;
    default: return wx_style | wxICON_WARNING;  // style 0 is the warning box
  }
}

// The answer of a box that the program's end closed: the one that changes nothing.
int ClosingAnswer(unsigned style) {
  switch (style & 0xF) {
    case kBoxYesNo: return kButtonNo;
    case kBoxYesNoCancel:
    case kBoxOkCancel: return kButtonCancel;
    default: return kButtonOk;
  }
}

bool ProgramEnding() { return CWxModalTracker::Running() && CWxModalTracker::Running()->Ending(); }

int ButtonOfAnswer(int answer) {
  switch (answer) {
    case wxID_YES: return kButtonYes;
    case wxID_NO: return kButtonNo;
    case wxID_CANCEL: return kButtonCancel;
    default: return kButtonOk;
  }
}

// The toolkit's application object; the program's windows run modally, without a main loop.
class CLarkspinApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

ToolkitAssertionReport assertion_report;

void ReportToolkitAssertion(const wxString& file, int line, const wxString& function, const wxString& condition,
                            const wxString& message) {
  const std::string text = FormatText("toolkit assertion failed: %s(%d) in %s: %s %s", FromWx(file).c_str(), line,
                                      FromWx(function).c_str(), FromWx(condition).c_str(), FromWx(message).c_str());
  std::fprintf(stderr, "larkspin: %s\n", text.c_str());
  if (assertion_report) assertion_report(text);
  if (std::getenv("LARKSPIN_ABORT_ON_ASSERT")) std::abort();
}

int RunProgram(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) < 0) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

std::unique_ptr<CWindowPeer> CWxBackend::CreatePeer(CDialog& dialog, const DialogTemplate& layout,
                                                    CWindowPeer* parent) {
  return std::make_unique<CWxWindow>(dialog, layout, static_cast<CWxWindow*>(parent));
}

int CWxBackend::RunModal(CWindowPeer& peer) { return static_cast<CWxWindow&>(peer).RunModal(); }

int CWxBackend::MessageBox(CWindowPeer* owner, const std::string& text, const std::string& caption, unsigned style) {
  wxWindow* frame = FrameOf(owner);
  if (frame) frame->Raise();
  wxMessageDialog box(frame, ToWx(text), ToWx(caption), MessageDialogStyle(style));
  const int answer = box.ShowModal();
  return ProgramEnding() ? ClosingAnswer(style) : ButtonOfAnswer(answer);
}

bool CWxBackend::ChooseFileToOpen(CWindowPeer* owner, std::string& path) {
  wxFileDialog dialog(FrameOf(owner), wxFileSelectorPromptStr, "", "", wxFileSelectorDefaultWildcardStr,
                      wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return false;
  path = PathFromWx(dialog.GetPath());
  return true;
}

PrintOutcome CWxBackend::Print(CWindowPeer* owner, CPrintDocument& document) {
  return PrintWithDialog(FrameOf(owner), document);
}

void CWxBackend::BeginWaitCursor() { wxBeginBusyCursor(); }
void CWxBackend::EndWaitCursor() { wxEndBusyCursor(); }

Point CWxBackend::CursorPosition() const {
  const wxPoint position = wxGetMousePosition();
  return {position.x, position.y};
}

void CWxBackend::WarningBeep() { wxBell(); }

bool CWxBackend::ShowNotification(CWindowPeer* owner, const std::string& title, const std::string& text) {
  return notifier_.Show(FrameOf(owner), ToWx(title).utf8_string(), ToWx(text).utf8_string());
}

bool CWxBackend::IsUiThread() const { return wxThread::IsMain(); }

void CWxBackend::RunOnUiThread(const std::function<void()>& work) {
  if (IsUiThread()) {
    work();
    return;
  }
  std::promise<void> finished;
  wxTheApp->CallAfter([&] {
    work();
    finished.set_value();
  });
  finished.get_future().wait();
}

void CWxBackend::RunWhileResponsive(CWindowPeer* /*owner*/, const std::function<void()>& work) {
  // Every window stops taking input (a second Send, Close), while a nested loop keeps them
  // painting and serves the worker's RunOnUiThread calls.
  wxWindowDisabler no_input;
  wxGUIEventLoop loop;
  std::thread worker([&] {
    work();
    // ScheduleExit also ends the loop when a modal box of another window runs above it.
    wxTheApp->CallAfter([&] { loop.ScheduleExit(); });
  });
  loop.Run();
  worker.join();
}

CWxWindow* CWxBackend::WindowOf(CDialog& dialog) { return static_cast<CWxWindow*>(dialog.Peer()); }

void CWxBackend::TypeText(CDialog& dialog, int id, const std::string& text) {
  if (CWxWindow* window = WindowOf(dialog)) window->TypeText(id, text);
}

void CWxBackend::PressButton(CDialog& dialog, int id) {
  if (CWxWindow* window = WindowOf(dialog)) window->PressButton(id);
}

void CWxBackend::PostToUiThread(std::function<void()> work) { wxTheApp->CallAfter(std::move(work)); }

bool CWxBackend::OpenMenu(CDialog& dialog, size_t position) {
  CWxWindow* window = WindowOf(dialog);
  return window && window->OpenMenu(position);
}

void CWxBackend::WhenIdle(std::function<void()> work) { wxTheApp->CallAfter(std::move(work)); }

void CWxBackend::EndModalWindowsThen(std::function<void()> close_program) {
  if (CWxModalTracker* tracker = CWxModalTracker::Running()) tracker->EndAllThen(std::move(close_program));
}

bool CWxBackend::SaveScreenshot(CDialog& dialog, const std::string& png_path) {
  CWxWindow* window = WindowOf(dialog);
  if (!window) return false;
  window->Frame()->Update();
  wxTheApp->Yield(true);
  const wxRect rect = window->Frame()->GetScreenRect();
  const std::string geometry = FormatText("%dx%d+%d+%d", rect.width, rect.height, rect.x, rect.y);
  return RunProgram({"import", "-window", "root", "-crop", geometry, "+repage", png_path}) == 0;
}

int RunWithWxBackend(int argc, char** argv, const std::function<int()>& body, const ToolkitAssertionReport& report) {
  assertion_report = report;
  wxSetAssertHandler(ReportToolkitAssertion);
  wxApp::SetInstance(new CLarkspinApp);
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "larkspin: cannot open the display\n");
    return 1;
  }
  int result = 1;
  if (wxTheApp->CallOnInit()) {
    CWxBackend backend;
    CScopedUiBackend installed(backend);
    CWxModalTracker modal_windows;
    result = body();
    wxTheApp->OnExit();
  }
  wxEntryCleanup();
  return result;
}

}  // namespace larkspin
