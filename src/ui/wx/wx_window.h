#pragma once
// One window of the wx backend: a wxDialog built from a template, its controls by id, and the
// translation of the toolkit's events into commands, notifications, timers and size changes of
// the CDialog behind it.
#include <map>
#include <memory>

#include <wx/dialog.h>
#include <wx/timer.h>

#include "res/resource_types.h"
#include "ui/notification.h"
#include "ui/window_peer.h"
#include "ui/wx/wx_menu.h"

class wxGUIEventLoop;
class wxPanel;

namespace larkspin {

class CDialog;
class CWxWindow;

class CWxDialog : public wxDialog {
 public:
  CWxDialog(wxWindow* parent, const DialogTemplate& layout, CWxWindow& owner);
  void Detach() { owner_ = nullptr; }
  CWxWindow* Owner() const { return owner_; }

 private:
  CWxWindow* owner_;
};

class CWxWindow : public CWindowPeer {
 public:
  CWxWindow(CDialog& dialog, const DialogTemplate& layout, CWxWindow* parent);
  ~CWxWindow() override;

  wxDialog* Frame() const { return frame_; }
  CDialog& Dialog() const { return dialog_; }
  int TemplateId() const { return template_id_; }
  wxWindow* ControlWindow(int id) const;
  // The modal run of the backend.
  int RunModal();

  // Acting as the user through the toolkit's own controls.
  void TypeText(int id, const std::string& text);
  void PressButton(int id);
  bool OpenMenu(size_t position) { return menu_strip_ && menu_strip_->OpenMenu(position); }

  // Events of the toolkit.
  void OnCommand(int id);
  // A menu item was chosen; toolkit_id is the id the toolkit gave it.
  void OnMenuItem(int toolkit_id);
  void OnNotify(int id, NotifyCode code, int index = -1);
  void OnSized();
  void OnTimerTick(int id);
  void OnCharHook(wxKeyEvent& event);
  // The window became the active one: a modal window that has just been shown reports it now.
  void OnActivated();

  // CWindowPeer.
  void SetTitle(const std::string& title) override;
  std::string Title() const override;
  void SetIcon(int icon_id) override;
  void Show(bool show) override;
  bool IsShown() const override;
  bool IsMinimized() const override;
  Rect WindowRect() const override;
  Size ClientSize() const override;
  void MoveWindow(const Rect& rect) override;
  void SetMinimumSize(Size size) override;
  Point ClientToScreen(Point point) const override;
  Size TextSize(int id, const std::string& text) const override;
  Size DialogUnitsToPixels(Size units) const override;
  void EndModal(int result) override;

  bool HasControl(int id) const override { return controls_.count(id) != 0; }
  void SetText(int id, const std::string& text) override;
  std::string Text(int id) const override;
  std::string TypedText(int id, TextEncoding encoding) const override;
  void Enable(int id, bool enable) override;
  bool IsEnabled(int id) const override;
  void ShowControl(int id, bool show) override;
  bool IsControlShown(int id) const override;
  void SetFocus(int id) override;
  int FocusedControl() const override;
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
  void ScrollToTop(int id) override;
  void SetTextLimit(int id, int limit) override;
  int TextLimit(int id) const override;

  CListModel* List(int id) override;
  void ListChanged(int id) override;

  CMenu& MenuBar() override { return menu_; }
  void MenuBarChanged() override;
  void TrackPopupMenu(const CMenu& menu, Point screen_point) override;

  void SetTimer(int id, int milliseconds) override;
  void KillTimer(int id) override;

 private:
  int RunAsTopLevelWindow();
  struct ControlEntry {
    ControlTemplate layout;
    wxWindow* window = nullptr;
    int text_limit = 0;
  };
  class CIdTimer;

  void CreateControl(const ControlTemplate& layout);
  void CentreLabelsOnFields();
  wxWindow* MakeControlWindow(const ControlTemplate& layout, const wxPoint& position, const wxSize& size);
  void BindControlEvents(const ControlTemplate& layout, wxWindow* window);
  ControlEntry* Entry(int id);
  const ControlEntry* Entry(int id) const;
  template <typename T>
  T* As(int id) const;
  void LayOut();
  int DefaultButton() const;
  int ButtonOfMnemonic(wxChar letter) const;
  // HandleShown, once per modal run.
  void ReportShown();
  void AddMenuStripHeight(int height);

  CDialog& dialog_;
  int template_id_;
  CWxDialog* frame_ = nullptr;
  wxPanel* client_ = nullptr;
  CWxMenuStrip* menu_strip_ = nullptr;
  CWxMenuIds menu_ids_;
  std::map<int, ControlEntry> controls_;
  std::map<int, std::unique_ptr<CIdTimer>> timers_;
  CMenu menu_;
  Size reported_size_;
  bool ready_ = false;  // built: size changes are reported from now on
  bool sized_ = false;  // given a size of its own through MoveWindow
  bool modal_ = false;
  bool running_modal_ = false;
  bool shown_reported_ = false;
  const bool top_level_;                       // no parent window: runs its own event loop
  wxGUIEventLoop* top_level_loop_ = nullptr;   // that loop while it runs
  bool exit_scheduled_ = false;
  bool ended_early_ = false;
  int early_result_ = 0;
};

}  // namespace larkspin
