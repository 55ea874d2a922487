// The framework's window life and dispatch, driven through the headless backend.
#include <gtest/gtest.h>

#include <thread>

#include "common/message_box.h"
#include "res/control_ids.h"
#include "res/resources.h"
#include "ui/dialog.h"
#include "ui/headless/headless_backend.h"

namespace larkspin {
namespace {

// A window on the input template that records what reaches it.
class CProbeDialog : public CDialog {
 public:
  CProbeDialog() : CDialog(kDialogInput, nullptr) {
    Commands().OnCommand(kInputRememberBox, [this] { events.push_back("remember"); });
    Commands().OnCommandRange(2000, 2100, [this](int id) { events.push_back("range " + std::to_string(id)); });
    Commands().OnNotify(kInputField, NotifyCode::kTextChange,
                        [this](const Notification&) { events.push_back("typed"); });
  }
  std::vector<std::string> events;

 protected:
  bool OnInitDialog() override {
    events.push_back("init");
    SetWindowText("Probe");
    return true;
  }
  void OnShown() override { events.push_back("shown"); }
  void OnUnhandledCommand(int id) override { events.push_back("other " + std::to_string(id)); }
  void OnTimer(int id) override { events.push_back("timer " + std::to_string(id)); }
  void OnDestroy() override { events.push_back("destroy"); }
};

class HeadlessDialogTest : public ::testing::Test {
 protected:
  CHeadlessBackend backend;
  CScopedUiBackend installed{backend};
};

TEST_F(HeadlessDialogTest, ModalRunEndsWithTheButtonPressedOrEscape) {
  CProbeDialog dialog;
  backend.QueueModalScript([](CHeadlessWindow& window) {
    EXPECT_EQ(window.Title(), "Probe");
    EXPECT_TRUE(window.Type(kInputField, "typed text"));
    EXPECT_TRUE(window.Click(kInputRememberBox));
    EXPECT_TRUE(window.Control(kInputRememberBox)->checked);
    EXPECT_TRUE(window.Click(1));
  });
  EXPECT_EQ(dialog.DoModal(), kIdOk);
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"init", "shown", "typed", "remember", "destroy"}));
  EXPECT_FALSE(dialog.IsWindow());

  CProbeDialog unanswered;
  EXPECT_EQ(unanswered.DoModal(), kIdCancel);
  EXPECT_EQ(backend.ModalRuns(), (std::vector<int>{kDialogInput, kDialogInput}));
}

// A window that decides during its initialisation that it is not needed.
class CSelfEndingDialog : public CDialog {
 public:
  CSelfEndingDialog() : CDialog(kDialogInput, nullptr) {}
  bool shown = false;

 protected:
  bool OnInitDialog() override {
    EndDialog(kIdOk);
    return true;
  }
  void OnShown() override { shown = true; }
};

TEST_F(HeadlessDialogTest, ADialogEndedDuringInitialisationReturnsAtOnce) {
  CSelfEndingDialog dialog;
  backend.QueueModalScript([](CHeadlessWindow&) { ADD_FAILURE() << "the script belongs to the next dialog"; });
  EXPECT_EQ(dialog.DoModal(), kIdOk);
  EXPECT_FALSE(dialog.shown);
}

TEST_F(HeadlessDialogTest, CommandsReachSingleHandlersRangesAndTheFallback) {
  CProbeDialog dialog;
  ASSERT_TRUE(dialog.Create());
  dialog.ShowWindow(true);
  dialog.HandleCommand(2000);
  dialog.HandleCommand(2100);
  dialog.HandleCommand(2101);
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"init", "shown", "range 2000", "range 2100", "other 2101"}));
  dialog.DestroyWindow();
}

TEST_F(HeadlessDialogTest, UserActionsOnHiddenOrDisabledControlsAreRefused) {
  CProbeDialog dialog;
  ASSERT_TRUE(dialog.Create());
  CHeadlessWindow& window = *backend.WindowOf(dialog);
  EXPECT_FALSE(window.Click(kInputRememberBox)) << "the window is not shown yet";
  dialog.ShowWindow(true);
  dialog.EnableItem(kInputRememberBox, false);
  EXPECT_FALSE(window.Click(kInputRememberBox));
  dialog.EnableItem(kInputRememberBox, true);
  dialog.ShowItem(kInputRememberBox, false);
  EXPECT_FALSE(window.Click(kInputRememberBox));
  dialog.SetReadOnly(kInputField, true);
  EXPECT_FALSE(window.Type(kInputField, "x"));
  EXPECT_FALSE(window.Click(kInputPrompt)) << "a plain static text does not report clicks";
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"init", "shown"}));
  dialog.DestroyWindow();
}

TEST_F(HeadlessDialogTest, TemplatesAreLaidOutInPixelsOfTheDefaultFont) {
  CDialog main_window(kDialogMain, nullptr);
  ASSERT_TRUE(main_window.Create());
  EXPECT_EQ(main_window.ClientSize(), (Size{948, 597}));
  EXPECT_EQ(main_window.ItemRect(kConnectButton), (Rect{14, 60, 168, 115}));
  EXPECT_FALSE(main_window.IsItemEnabled(kDisconnectButton));
  EXPECT_FALSE(main_window.IsItemVisible(kAboutButton));
  EXPECT_EQ(main_window.WindowText(), "Larkspin");
  CDialog missing(4711, nullptr);
  EXPECT_EQ(missing.DoModal(), -1);
}

TEST_F(HeadlessDialogTest, TimersTickOnlyWhileRunning) {
  CProbeDialog dialog;
  ASSERT_TRUE(dialog.Create());
  CHeadlessWindow& window = *backend.WindowOf(dialog);
  dialog.SetTimer(10000, 60000);
  EXPECT_EQ(window.TimerPeriod(10000), 60000);
  EXPECT_TRUE(window.FireTimer(10000));
  dialog.KillTimer(10000);
  EXPECT_FALSE(window.FireTimer(10000));
  EXPECT_EQ(dialog.events.back(), "timer 10000");
  dialog.DestroyWindow();
}

TEST_F(HeadlessDialogTest, DropDownListsKeepSortedOrderAndAnswerTheSelectionAsText) {
  CDialog view(kDialogFileView, nullptr);
  ASSERT_TRUE(view.Create());
  for (const char* name : {"b.txt", "C.doc", "a.zip"}) view.AddComboEntry(kFileViewAttachmentSelector, name);
  EXPECT_EQ(view.ComboEntry(kFileViewAttachmentSelector, 0), "a.zip");
  EXPECT_EQ(view.ComboEntry(kFileViewAttachmentSelector, 1), "b.txt");
  EXPECT_EQ(view.ComboEntry(kFileViewAttachmentSelector, 2), "C.doc");
  EXPECT_EQ(view.ItemText(kFileViewAttachmentSelector), "");
  view.SelectComboEntry(kFileViewAttachmentSelector, 2);
  EXPECT_EQ(view.ItemText(kFileViewAttachmentSelector), "C.doc");
  view.ResetCombo(kFileViewAttachmentSelector);
  EXPECT_EQ(view.ComboCount(kFileViewAttachmentSelector), 0);
  EXPECT_EQ(view.ComboSelection(kFileViewAttachmentSelector), -1);
}

TEST_F(HeadlessDialogTest, EngineMessageBoxesAreRecordedAndAnsweredInOrder) {
  backend.QueueMessageBoxAnswer(kButtonNo);
  EXPECT_EQ(MessageBoxF(kBoxYesNo | kBoxIconQuestion, "Delete %d messages?", 3), kButtonNo);
  EXPECT_EQ(MessageBoxF(kBoxYesNo, "Again?"), kButtonYes) << "no answer queued: the default button";
  EXPECT_EQ(MessageBoxF(kBoxYesNo | kBoxDefaultNo, "Unasked?"), kButtonNo);
  EXPECT_EQ(MessageBoxF(kBoxYesNoCancel | kBoxDefaultNo, "Unasked?"), kButtonNo);
  ASSERT_EQ(backend.MessageBoxes().size(), 4u);
  EXPECT_EQ(backend.MessageBoxes()[0].text, "Delete 3 messages?");
  EXPECT_EQ(backend.MessageBoxes()[0].caption, "Larkspin");
  EXPECT_EQ(backend.MessageBoxes()[0].style, unsigned{kBoxYesNo | kBoxIconQuestion});
}

TEST_F(HeadlessDialogTest, WorkerThreadsReachTheWindowThroughTheUiThread) {
  CProbeDialog dialog;
  ASSERT_TRUE(dialog.Create());
  std::atomic<bool> finished = false;
  std::thread::id ran_on;
  int box_answer = 0;
  std::thread worker([&] {
    RunOnUiThread([&] {
      ran_on = std::this_thread::get_id();
      dialog.SetItemText(kInputPrompt, "from the worker");
    });
    box_answer = MessageBoxF(kBoxOkCancel, "worker box");
    finished = true;
  });
  backend.QueueMessageBoxAnswer(kButtonCancel);
  EXPECT_TRUE(backend.RunUntil([&] { return finished.load(); }, std::chrono::seconds(10)));
  worker.join();
  EXPECT_EQ(ran_on, std::this_thread::get_id());
  EXPECT_EQ(dialog.ItemText(kInputPrompt), "from the worker");
  EXPECT_EQ(box_answer, kButtonCancel);
  dialog.DestroyWindow();
}

TEST_F(HeadlessDialogTest, WaitCursorsNest) {
  {
    CWaitCursor outer;
    CWaitCursor inner;
    EXPECT_EQ(backend.WaitCursorDepth(), 2);
  }
  EXPECT_EQ(backend.WaitCursorDepth(), 0);
  EXPECT_EQ(backend.WaitCursorShows(), 2);
}

TEST_F(HeadlessDialogTest, FileOpenAnswersComeFromTheQueue) {
  backend.QueueFileToOpen("/tmp/attachment.pdf");
  backend.QueueFileToOpen(std::nullopt);
  std::string path = "unchanged";
  EXPECT_TRUE(backend.ChooseFileToOpen(nullptr, path));
  EXPECT_EQ(path, "/tmp/attachment.pdf");
  path = "unchanged";
  EXPECT_FALSE(backend.ChooseFileToOpen(nullptr, path));
  EXPECT_FALSE(backend.ChooseFileToOpen(nullptr, path));
  EXPECT_EQ(path, "unchanged");
}

}  // namespace
}  // namespace larkspin
