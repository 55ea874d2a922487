#pragma once
// The base of every window: a dialog built from a template in res/, whose controls are
// addressed by numeric id. Derived windows register their command and notification handlers
// (Commands()) in their constructors and override the On... hooks they need.
//
// Life of a window:
//   DoModal: make the window, OnCreate, OnSize (its first size), OnInitDialog, shown (OnShown), run until EndDialog,
//            OnDestroy, window gone; returns EndDialog's result.
//   Create:  make the window hidden, OnCreate, OnSize, OnInitDialog; ShowWindow(true) shows it (OnShown
//            every time), EndDialog hides it again; DestroyWindow runs OnDestroy and removes it.
// A window still open when its CDialog is destroyed goes without OnDestroy.
// Command 1 (OK) and 2 (Cancel: the Cancel button or Escape) end the dialog unless OnOK /
// OnCancel are overridden; the close box is Cancel too unless OnCloseBox is overridden.
#include <memory>
#include <string>

#include "res/resource_types.h"
#include "ui/command_map.h"
#include "ui/control_state.h"
#include "ui/geometry.h"
#include "ui/list_model.h"
#include "ui/menu.h"

namespace larkspin {

class CWindowPeer;

enum class SizeKind { kRestored, kMinimized, kMaximized };

class CDialog {
 public:
  CDialog(int template_id, CDialog* parent);
  virtual ~CDialog();
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  int TemplateId() const { return template_id_; }
  CDialog* Parent() const { return parent_; }
  CWindowPeer* Peer() const { return peer_.get(); }
  bool IsWindow() const { return peer_ != nullptr; }

  int DoModal();
  bool Create();
  void DestroyWindow();
  void EndDialog(int result);
  void ShowWindow(bool show);
  bool IsWindowVisible() const;

  // Window.
  void SetWindowText(const std::string& title);
  std::string WindowText() const;
  void SetIcon(int icon_id);
  Rect WindowRect() const;
  Size ClientSize() const;
  void MoveWindow(const Rect& rect);
  void SetMinimumSize(Size size);
  bool IsMinimized() const;
  Point ClientToScreen(Point point) const;
  Size DialogUnitsToPixels(Size units) const;

  // Controls.
  bool HasItem(int id) const;
  void SetItemText(int id, const std::string& text);
  std::string ItemText(int id) const;
  // The text the user typed, in encoding (see CWindowPeer::TypedText).
  std::string TypedItemText(int id, TextEncoding encoding) const;
  // Disabling the focused control gives the focus to FocusFallback(), so the keys keep working.
  void EnableItem(int id, bool enable);
  bool IsItemEnabled(int id) const;
  void ShowItem(int id, bool show);
  bool IsItemVisible(int id) const;
  void SetFocusItem(int id);
  Rect ItemRect(int id) const;
  void MoveItem(int id, const Rect& rect);
  void SetToolTip(int id, const std::string& text);
  Size TextSize(int id, const std::string& text) const;
  void SetButtonIcons(int id, int normal_icon, int hot_icon);
  void SetCheck(int id, bool checked);
  bool IsChecked(int id) const;
  void SetPasswordStyle(int id, bool password);
  void SetReadOnly(int id, bool read_only);
  void SetLinkLook(int id, const LinkLook& look);

  void ResetCombo(int id);
  int AddComboEntry(int id, const std::string& text);
  void SelectComboEntry(int id, int index);
  int ComboSelection(int id) const;
  int ComboCount(int id) const;
  std::string ComboEntry(int id, int index) const;

  void SetProgress(int id, const ProgressBarState& state);

  void ReplaceSelectionWithRtf(int id, const std::string& rtf);
  void SetBackground(int id, Colour colour);
  void ScrollToTop(int id);
  void SetTextLimit(int id, int limit);
  int TextLimit(int id) const;

  // The list view's model (nullptr without window or list); call ListChanged after changing it.
  CListModel* List(int id);
  void ListChanged(int id);

  // Menus: the bar from a menu template, items by command id or top-level position.
  void SetMenu(int menu_id);
  void CheckMenuItem(int id, bool checked);
  bool IsMenuItemChecked(int id) const;
  void EnableMenuItem(int id, bool enable);
  bool IsMenuItemEnabled(int id) const;
  void SetMenuItemText(int id, const std::string& text);
  std::string MenuItemText(int id) const;
  void SetTopMenuText(size_t position, const std::string& text);
  std::string TopMenuText(size_t position) const;
  // Shows menu at screen_point; the chosen command arrives through OnCommand before this returns.
  void TrackPopupMenu(const CMenu& menu, Point screen_point);

  void SetTimer(int id, int milliseconds);
  void KillTimer(int id);

  // A modal message box owned by this window, which is raised with it; returns the button
  // pressed. The focus comes back to the control that had it, or else to FocusFallback().
  int MessageBox(const std::string& text, unsigned style);
  // Whether a user could run the command now: its control is enabled and shown, or else its menu
  // item is enabled; a command with neither is always usable.
  bool IsCommandUsable(int id) const;
  // A control of the window that could take the focus now: enabled, shown, not a label.
  bool IsUsableFocus(int id) const;

  // The window's message map; control classes attached to the window register here too.
  CCommandMap& Commands() { return commands_; }

  // Called by the backend.
  void HandleCommand(int id);
  void HandleNotify(const Notification& notification);
  // A key pressed in the window: runs the window's accelerator for it (accelerators.h) when its
  // command is usable; false when the key is left to the toolkit.
  bool HandleKey(int key, unsigned modifiers);
  void HandleTimer(int id) { OnTimer(id); }
  void HandleSize(SizeKind kind, int client_width, int client_height) { OnSize(kind, client_width, client_height); }
  void HandleShown() { OnShown(); }
  void HandleCloseBox() { OnCloseBox(); }
  // The program ends (a termination signal) while this modal window is open.
  void HandleProgramEnd() { OnProgramEnd(); }

 protected:
  virtual void OnCreate() {}
  virtual bool OnInitDialog() { return true; }
  virtual void OnShown() {}
  virtual void OnOK() { EndDialog(kIdOk); }
  virtual void OnCancel() { EndDialog(kIdCancel); }
  virtual void OnCloseBox() { HandleCommand(kIdCancel); }
  // Ends the window without asking anything (no message box is shown any more); the default
  // ends it with Cancel. A window that cannot end yet returns and is asked again shortly.
  virtual void OnProgramEnd() { EndDialog(kIdCancel); }
  // Commands without a registered handler; the default does nothing.
  virtual void OnUnhandledCommand(int /*id*/) {}
  virtual void OnTimer(int /*id*/) {}
  virtual void OnSize(SizeKind /*kind*/, int /*client_width*/, int /*client_height*/) {}
  virtual void OnDestroy() {}
  // The control that takes the focus when the focused one is disabled or a box leaves none
  // usable: the default button when usable, else the first usable control that takes the focus,
  // in template order; 0 for none.
  virtual int FocusFallback() const;

 private:
  bool MakeWindow();
  void MoveFocusToFallback();

  int template_id_;
  CDialog* parent_;
  std::unique_ptr<CWindowPeer> peer_;
  CCommandMap commands_;
  bool modal_ = false;
};

// The shown window the user acted in last (its last command or notification), or the nearest
// shown window it belongs to; nullptr for none. A box that no window asks for itself (an engine
// message, a failure the desktop reports later) is owned by it, so it opens above where the user is.
CWindowPeer* ActingWindow();

}  // namespace larkspin
