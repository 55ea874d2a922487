#pragma once
// The backend's side of one window. A CDialog talks to its controls only through this
// interface; the headless backend keeps the state in memory, the wx backend in real widgets.
// Every control is addressed by its numeric id; a call on an id the window lacks does nothing
// and a query on it answers empty, 0 or false.
#include <string>

#include "common/text_encoding.h"

#include "ui/control_state.h"
#include "ui/geometry.h"
#include "ui/list_model.h"
#include "ui/menu.h"

namespace larkspin {

class CWindowPeer {
 public:
  virtual ~CWindowPeer() = default;

  // Window.
  virtual void SetTitle(const std::string& title) = 0;
  virtual std::string Title() const = 0;
  virtual void SetIcon(int icon_id) = 0;
  virtual void Show(bool show) = 0;
  virtual bool IsShown() const = 0;
  virtual bool IsMinimized() const = 0;
  virtual Rect WindowRect() const = 0;  // screen coordinates, frame included
  virtual Size ClientSize() const = 0;
  virtual void MoveWindow(const Rect& rect) = 0;
  virtual void SetMinimumSize(Size size) = 0;  // 0 by 0: no minimum
  virtual Point ClientToScreen(Point point) const = 0;
  // Dialog units in pixels, by the font the window's controls are measured in.
  virtual Size DialogUnitsToPixels(Size units) const = 0;
  // Ends the modal loop with result; a modeless window hides.
  virtual void EndModal(int result) = 0;

  // Controls of every kind.
  virtual bool HasControl(int id) const = 0;
  virtual void SetText(int id, const std::string& text) = 0;
  virtual std::string Text(int id) const = 0;
  // The text as typed, in encoding: Windows-1252 bytes for Classic (what Text answers), UTF-8
  // with every character kept for UTF-8.
  virtual std::string TypedText(int id, TextEncoding encoding) const = 0;
  virtual void Enable(int id, bool enable) = 0;
  virtual bool IsEnabled(int id) const = 0;
  virtual void ShowControl(int id, bool show) = 0;
  virtual bool IsControlShown(int id) const = 0;
  virtual void SetFocus(int id) = 0;
  virtual int FocusedControl() const = 0;  // 0 when no control has the focus
  virtual Rect ControlRect(int id) const = 0;  // client coordinates
  virtual void MoveControl(int id, const Rect& rect) = 0;
  virtual void SetToolTip(int id, const std::string& text) = 0;
  // The size text takes on one line in the control's font.
  virtual Size TextSize(int id, const std::string& text) const = 0;

  // Buttons, check boxes, edit fields, static texts.
  virtual void SetButtonIcons(int id, int normal_icon, int hot_icon) = 0;
  virtual void SetCheck(int id, bool checked) = 0;
  virtual bool IsChecked(int id) const = 0;
  virtual void SetPasswordStyle(int id, bool password) = 0;
  virtual void SetReadOnly(int id, bool read_only) = 0;
  virtual void SetLinkLook(int id, const LinkLook& look) = 0;

  // Drop-down lists.
  virtual void ResetCombo(int id) = 0;
  virtual int AddComboEntry(int id, const std::string& text) = 0;  // index where it landed
  virtual void SelectComboEntry(int id, int index) = 0;           // -1 clears the selection
  virtual int ComboSelection(int id) const = 0;                   // -1 when none
  virtual int ComboCount(int id) const = 0;
  virtual std::string ComboEntry(int id, int index) const = 0;

  // Progress bars.
  virtual void SetProgress(int id, const ProgressBarState& state) = 0;
  virtual ProgressBarState Progress(int id) const = 0;

  // Rich edit controls; Text() answers their plain text with "\r\n" paragraph ends.
  virtual void ReplaceSelectionWithRtf(int id, const std::string& rtf) = 0;
  virtual void SetBackground(int id, Colour colour) = 0;
  virtual void ScrollToTop(int id) = 0;
  virtual void SetTextLimit(int id, int limit) = 0;
  virtual int TextLimit(int id) const = 0;

  // List views: the model, and the call that shows what changed in it.
  virtual CListModel* List(int id) = 0;
  virtual void ListChanged(int id) = 0;

  // The menu bar and pop-up menus. The chosen pop-up command is dispatched before the call returns.
  virtual CMenu& MenuBar() = 0;
  virtual void MenuBarChanged() = 0;
  virtual void TrackPopupMenu(const CMenu& menu, Point screen_point) = 0;

  // Timers by id; each tick arrives as CDialog::OnTimer.
  virtual void SetTimer(int id, int milliseconds) = 0;
  virtual void KillTimer(int id) = 0;
};

}  // namespace larkspin
