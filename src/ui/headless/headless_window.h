#pragma once
// One window of the headless backend: every control's state in memory, and the calls a test
// uses to act as the user (click, type, choose, select rows, fire a timer, resize) and to read
// back what the window shows.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "res/resource_types.h"
#include "ui/notification.h"
#include "ui/rtf_reader.h"
#include "ui/window_peer.h"

namespace larkspin {

class CDialog;
class CHeadlessBackend;

struct HeadlessControl {
  ControlTemplate layout;
  Rect rect;
  std::string text;
  bool enabled = true;
  bool visible = true;
  bool checked = false;
  bool password = false;
  bool read_only = false;
  std::string tool_tip;
  int normal_icon = 0;
  int hot_icon = 0;
  LinkLook link;
  std::vector<std::string> entries;  // drop-down list
  int selection = -1;
  ProgressBarState progress;
  std::vector<RichTextRun> runs;  // rich edit
  std::vector<std::string> rtf_received;  // every rich text streamed in, as bytes
  Colour background = kWindowColour;
  int text_limit = 0;
  std::unique_ptr<CListModel> list;
};

class CHeadlessWindow : public CWindowPeer {
 public:
  CHeadlessWindow(CHeadlessBackend& backend, CDialog& dialog, const DialogTemplate& layout, CHeadlessWindow* parent);
  ~CHeadlessWindow() override;

  CDialog& Dialog() { return dialog_; }
  int TemplateId() const { return template_id_; }
  bool IsModal() const { return modal_; }
  bool HasEnded() const { return ended_; }
  int EndResult() const { return end_result_; }

  // Acting as the user. Each answers false (and does nothing) when a user could not do it: the
  // control is missing, hidden or disabled, the menu item is greyed, the timer is not running.
  bool Click(int id);  // push button (focused first), check box (toggles first), notifying static text
  bool Type(int id, const std::string& text);  // replaces the edit field's text
  bool ChooseEntry(int id, int index);  // drop-down list
  bool SelectRows(int id, const std::vector<int>& rows);
  bool DoubleClick(int id);
  bool RightClick(int id, Point screen_point);
  bool ClickColumn(int id, int column);
  bool ChooseMenuItem(int id);
  bool FireTimer(int id);
  bool PressEscape();
  // A key with modifiers (resource_types.h), as the toolkit routes it: the window's accelerator,
  // else Escape, Alt+letter for the button whose caption marks that letter, Enter for the
  // default button; false when the key does nothing.
  bool PressKey(int key, unsigned modifiers = kKeyPlain);
  bool PressCloseBox();
  void Resize(int client_width, int client_height);
  void Minimize();
  void Restore();

  // Reading back.
  const HeadlessControl* Control(int id) const;
  std::vector<RichTextRun> RichRuns(int id) const;
  bool IsTimerRunning(int id) const { return timers_.count(id) != 0; }
  int TimerPeriod(int id) const;
  int Icon() const { return icon_; }
  Size MinimumSize() const { return minimum_; }
  const CMenu& Menu() const { return menu_; }

  // CWindowPeer.
  void SetTitle(const std::string& title) override { title_ = title; }
  std::string Title() const override { return title_; }
  void SetIcon(int icon_id) override { icon_ = icon_id; }
  void Show(bool show) override;
  bool IsShown() const override { return shown_; }
  bool IsMinimized() const override { return minimized_; }
  Rect WindowRect() const override { return window_rect_; }
  Size ClientSize() const override { return {window_rect_.Width(), window_rect_.Height()}; }
  void MoveWindow(const Rect& rect) override;
  void SetMinimumSize(Size size) override { minimum_ = size; }
  Point ClientToScreen(Point point) const override;
  // Every character one average character wide: the dialog base units.
  Size TextSize(int id, const std::string& text) const override;
  Size DialogUnitsToPixels(Size units) const override;
  void EndModal(int result) override;

  bool HasControl(int id) const override { return controls_.count(id) != 0; }
  void SetText(int id, const std::string& text) override;
  std::string Text(int id) const override;
  // Headless typing stores the bytes a test types, whatever their encoding.
  std::string TypedText(int id, TextEncoding) const override { return Text(id); }
  void Enable(int id, bool enable) override;
  bool IsEnabled(int id) const override;
  void ShowControl(int id, bool show) override;
  bool IsControlShown(int id) const override;
  void SetFocus(int id) override;
  int FocusedControl() const override { return focus_; }
  Rect ControlRect(int id) const override;
  void MoveControl(int id, const Rect& rect) override;
  void SetToolTip(int id, const std::string& text) override;

  void SetButtonIcons(int id, int normal_icon, int hot_icon) override;
  void SetCheck(int id, bool checked) override;
  bool IsChecked(int id) const override;
  void SetPasswordStyle(int id, bool password) override;
  void SetReadOnly(int id, bool read_only) override;
  void SetLinkLook(int id, const LinkLook& look) override;

  void ResetCombo(int id) override;
  int AddComboEntry(int id, const std::string& text) override;
  void SelectComboEntry(int id, int index) override;
  int ComboSelection(int id) const override;
  int ComboCount(int id) const override;
  std::string ComboEntry(int id, int index) const override;

  void SetProgress(int id, const ProgressBarState& state) override;
  ProgressBarState Progress(int id) const override;

  void ReplaceSelectionWithRtf(int id, const std::string& rtf) override;
  void SetBackground(int id, Colour colour) override;
  void ScrollToTop(int /*id*/) override {}
  void SetTextLimit(int id, int limit) override;
  int TextLimit(int id) const override;

  CListModel* List(int id) override;
  void ListChanged(int /*id*/) override {}

  CMenu& MenuBar() override { return menu_; }
  void MenuBarChanged() override {}
  void TrackPopupMenu(const CMenu& menu, Point screen_point) override;

  void SetTimer(int id, int milliseconds) override { timers_[id] = milliseconds; }
  void KillTimer(int id) override { timers_.erase(id); }

 private:
  friend class CHeadlessBackend;
  HeadlessControl* Find(int id);
  const HeadlessControl* Find(int id) const;
  HeadlessControl* Usable(int id);
  void Notify(int id, NotifyCode code, int index = -1, Point point = {});
  int ButtonOfMnemonic(int letter) const;
  int DefaultButton() const;

  CHeadlessBackend& backend_;
  CDialog& dialog_;
  int template_id_;
  CHeadlessWindow* parent_;
  std::map<int, HeadlessControl> controls_;
  std::string title_;
  int icon_ = 0;
  bool shown_ = false;
  bool minimized_ = false;
  bool modal_ = false;
  bool ended_ = false;
  int end_result_ = 0;
  Rect window_rect_;
  Size minimum_;
  int focus_ = 0;
  CMenu menu_;
  std::map<int, int> timers_;
};

}  // namespace larkspin
