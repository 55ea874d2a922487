#include "ui/dialog.h"

#include "res/resources.h"
#include "ui/accelerators.h"
#include "ui/backend.h"
#include "ui/window_peer.h"

namespace larkspin {

namespace {
CDialog* acting_dialog = nullptr;

// The window that is gone hands the user's place to the one it belongs to.
void ForgetActing(const CDialog* dialog) {
  if (acting_dialog == dialog) acting_dialog = dialog->Parent();
}
}  // namespace

CWindowPeer* ActingWindow() {
  for (const CDialog* dialog = acting_dialog; dialog; dialog = dialog->Parent())
    if (dialog->IsWindowVisible()) return dialog->Peer();
  return nullptr;
}

CDialog::CDialog(int template_id, CDialog* parent) : template_id_(template_id), parent_(parent) {}

CDialog::~CDialog() { ForgetActing(this); }

bool CDialog::MakeWindow() {
  if (peer_) return true;
  const DialogTemplate* layout = FindDialogTemplate(template_id_);
  if (!layout) return false;
  peer_ = UiBackend().CreatePeer(*this, *layout, parent_ ? parent_->Peer() : nullptr);
  if (!peer_) return false;
  OnCreate();
  // A new window reports its first size before initialisation, as the dialog framework does.
  const Size client = peer_->ClientSize();
  OnSize(SizeKind::kRestored, client.width, client.height);
  OnInitDialog();
  return true;
}

int CDialog::DoModal() {
  if (peer_ || !MakeWindow()) return -1;
  modal_ = true;
  const int result = UiBackend().RunModal(*peer_);
  modal_ = false;
  DestroyWindow();
  return result;
}

bool CDialog::Create() { return !peer_ && MakeWindow(); }

void CDialog::DestroyWindow() {
  ForgetActing(this);
  if (!peer_) return;
  OnDestroy();
  peer_.reset();
}

void CDialog::EndDialog(int result) {
  if (peer_) peer_->EndModal(result);
}

void CDialog::ShowWindow(bool show) {
  if (peer_) peer_->Show(show);
}

bool CDialog::IsWindowVisible() const { return peer_ && peer_->IsShown(); }

void CDialog::SetWindowText(const std::string& title) {
  if (peer_) peer_->SetTitle(title);
}
std::string CDialog::WindowText() const { return peer_ ? peer_->Title() : std::string(); }
void CDialog::SetIcon(int icon_id) {
  if (peer_) peer_->SetIcon(icon_id);
}
Rect CDialog::WindowRect() const { return peer_ ? peer_->WindowRect() : Rect{}; }
Size CDialog::ClientSize() const { return peer_ ? peer_->ClientSize() : Size{}; }
void CDialog::MoveWindow(const Rect& rect) {
  if (peer_) peer_->MoveWindow(rect);
}
void CDialog::SetMinimumSize(Size size) {
  if (peer_) peer_->SetMinimumSize(size);
}
bool CDialog::IsMinimized() const { return peer_ && peer_->IsMinimized(); }
Point CDialog::ClientToScreen(Point point) const { return peer_ ? peer_->ClientToScreen(point) : point; }

Size CDialog::DialogUnitsToPixels(Size units) const { return peer_ ? peer_->DialogUnitsToPixels(units) : units; }

bool CDialog::HasItem(int id) const { return peer_ && peer_->HasControl(id); }
void CDialog::SetItemText(int id, const std::string& text) {
  if (peer_) peer_->SetText(id, text);
}
std::string CDialog::ItemText(int id) const { return peer_ ? peer_->Text(id) : std::string(); }
std::string CDialog::TypedItemText(int id, TextEncoding encoding) const {
  return peer_ ? peer_->TypedText(id, encoding) : std::string();
}
void CDialog::EnableItem(int id, bool enable) {
  if (!peer_) return;
  const bool had_focus = !enable && peer_->FocusedControl() == id;
  peer_->Enable(id, enable);
  if (had_focus) MoveFocusToFallback();
}
bool CDialog::IsItemEnabled(int id) const { return peer_ && peer_->IsEnabled(id); }
void CDialog::ShowItem(int id, bool show) {
  if (peer_) peer_->ShowControl(id, show);
}
bool CDialog::IsItemVisible(int id) const { return peer_ && peer_->IsControlShown(id); }
void CDialog::SetFocusItem(int id) {
  if (peer_) peer_->SetFocus(id);
}
Rect CDialog::ItemRect(int id) const { return peer_ ? peer_->ControlRect(id) : Rect{}; }
void CDialog::MoveItem(int id, const Rect& rect) {
  if (peer_) peer_->MoveControl(id, rect);
}
void CDialog::SetToolTip(int id, const std::string& text) {
  if (peer_) peer_->SetToolTip(id, text);
}
Size CDialog::TextSize(int id, const std::string& text) const { return peer_ ? peer_->TextSize(id, text) : Size{}; }
void CDialog::SetButtonIcons(int id, int normal_icon, int hot_icon) {
  if (peer_) peer_->SetButtonIcons(id, normal_icon, hot_icon);
}
void CDialog::SetCheck(int id, bool checked) {
  if (peer_) peer_->SetCheck(id, checked);
}
bool CDialog::IsChecked(int id) const { return peer_ && peer_->IsChecked(id); }
void CDialog::SetPasswordStyle(int id, bool password) {
  if (peer_) peer_->SetPasswordStyle(id, password);
}
void CDialog::SetReadOnly(int id, bool read_only) {
  if (peer_) peer_->SetReadOnly(id, read_only);
}
void CDialog::SetLinkLook(int id, const LinkLook& look) {
  if (peer_) peer_->SetLinkLook(id, look);
}

void CDialog::ResetCombo(int id) {
  if (peer_) peer_->ResetCombo(id);
}
int CDialog::AddComboEntry(int id, const std::string& text) { return peer_ ? peer_->AddComboEntry(id, text) : -1; }
void CDialog::SelectComboEntry(int id, int index) {
  if (peer_) peer_->SelectComboEntry(id, index);
}
int CDialog::ComboSelection(int id) const { return peer_ ? peer_->ComboSelection(id) : -1; }
int CDialog::ComboCount(int id) const { return peer_ ? peer_->ComboCount(id) : 0; }
std::string CDialog::ComboEntry(int id, int index) const {
  return peer_ ? peer_->ComboEntry(id, index) : std::string();
}

void CDialog::SetProgress(int id, const ProgressBarState& state) {
  if (peer_) peer_->SetProgress(id, state);
}

void CDialog::ReplaceSelectionWithRtf(int id, const std::string& rtf) {
  if (peer_) peer_->ReplaceSelectionWithRtf(id, rtf);
}
void CDialog::SetBackground(int id, Colour colour) {
  if (peer_) peer_->SetBackground(id, colour);
}
void CDialog::ScrollToTop(int id) {
  if (peer_) peer_->ScrollToTop(id);
}
void CDialog::SetTextLimit(int id, int limit) {
  if (peer_) peer_->SetTextLimit(id, limit);
}
int CDialog::TextLimit(int id) const { return peer_ ? peer_->TextLimit(id) : 0; }

CListModel* CDialog::List(int id) { return peer_ ? peer_->List(id) : nullptr; }
void CDialog::ListChanged(int id) {
  if (peer_) peer_->ListChanged(id);
}

void CDialog::SetMenu(int menu_id) {
  const MenuTemplate* menu = FindMenuTemplate(menu_id);
  if (!peer_ || !menu) return;
  std::vector<MenuItem> items = menu->top_level;
  LabelShortcuts(items, AcceleratorsOf(template_id_));
  peer_->MenuBar() = CMenu(std::move(items));
  peer_->MenuBarChanged();
}

void CDialog::CheckMenuItem(int id, bool checked) {
  MenuItem* item = peer_ ? peer_->MenuBar().FindCommand(id) : nullptr;
  if (!item) return;
  item->checked = checked;
  peer_->MenuBarChanged();
}

bool CDialog::IsMenuItemChecked(int id) const {
  const MenuItem* item = peer_ ? peer_->MenuBar().FindCommand(id) : nullptr;
  return item && item->checked;
}

void CDialog::EnableMenuItem(int id, bool enable) {
  MenuItem* item = peer_ ? peer_->MenuBar().FindCommand(id) : nullptr;
  if (!item || item->enabled == enable) return;
  item->enabled = enable;
  peer_->MenuBarChanged();
}

bool CDialog::IsMenuItemEnabled(int id) const {
  const MenuItem* item = peer_ ? peer_->MenuBar().FindCommand(id) : nullptr;
  return item && item->enabled;
}

void CDialog::SetMenuItemText(int id, const std::string& text) {
  MenuItem* item = peer_ ? peer_->MenuBar().FindCommand(id) : nullptr;
  if (!item) return;
  item->text = text;
  peer_->MenuBarChanged();
}

std::string CDialog::MenuItemText(int id) const {
  const MenuItem* item = peer_ ? peer_->MenuBar().FindCommand(id) : nullptr;
  return item ? item->text : std::string();
}

void CDialog::SetTopMenuText(size_t position, const std::string& text) {
  MenuItem* item = peer_ ? peer_->MenuBar().TopLevel(position) : nullptr;
  if (!item) return;
  item->text = text;
  peer_->MenuBarChanged();
}

std::string CDialog::TopMenuText(size_t position) const {
  const MenuItem* item = peer_ ? peer_->MenuBar().TopLevel(position) : nullptr;
  return item ? item->text : std::string();
}

void CDialog::TrackPopupMenu(const CMenu& menu, Point screen_point) {
  if (peer_) peer_->TrackPopupMenu(menu, screen_point);
}

void CDialog::SetTimer(int id, int milliseconds) {
  if (peer_) peer_->SetTimer(id, milliseconds);
}
void CDialog::KillTimer(int id) {
  if (peer_) peer_->KillTimer(id);
}

int CDialog::MessageBox(const std::string& text, unsigned style) {
  const int focused = peer_ ? peer_->FocusedControl() : 0;
  const int button = UiBackend().MessageBox(peer_.get(), text, kMessageBoxCaption, style);
  if (!peer_) return button;
  if (IsUsableFocus(focused)) peer_->SetFocus(focused);
  else MoveFocusToFallback();
  return button;
}

bool CDialog::IsCommandUsable(int id) const {
  if (HasItem(id)) return IsItemEnabled(id) && IsItemVisible(id);
  const MenuItem* item = peer_ ? peer_->MenuBar().FindCommand(id) : nullptr;
  return !item || item->enabled;
}

bool CDialog::IsUsableFocus(int id) const {
  if (!IsItemEnabled(id) || !IsItemVisible(id)) return false;
  const DialogTemplate* layout = FindDialogTemplate(template_id_);
  if (!layout) return false;
  for (const ControlTemplate& control : layout->controls) {
    if (control.id != id) continue;
    return control.kind != ControlKind::kStatic && control.kind != ControlKind::kProgressBar;
  }
  return false;
}

int CDialog::FocusFallback() const {
  const DialogTemplate* layout = FindDialogTemplate(template_id_);
  if (!layout) return 0;
  for (const ControlTemplate& control : layout->controls)
    if ((control.style & kStyleDefaultButton) && IsUsableFocus(control.id)) return control.id;
  for (const ControlTemplate& control : layout->controls)
    if (IsUsableFocus(control.id)) return control.id;
  return 0;
}

void CDialog::MoveFocusToFallback() {
  if (const int id = FocusFallback()) peer_->SetFocus(id);
}

void CDialog::HandleCommand(int id) {
  acting_dialog = this;
  if (commands_.DispatchCommand(id)) return;
  if (id == kIdOk) OnOK();
  else if (id == kIdCancel) OnCancel();
  else OnUnhandledCommand(id);
}

void CDialog::HandleNotify(const Notification& notification) {
  acting_dialog = this;
  commands_.DispatchNotify(notification);
}

bool CDialog::HandleKey(int key, unsigned modifiers) {
  const int focused = peer_ ? peer_->FocusedControl() : 0;
  const Accelerator* accelerator = FindAccelerator(AcceleratorsOf(template_id_), key, modifiers, focused);
  if (!accelerator || !IsCommandUsable(accelerator->command)) return false;
  HandleCommand(accelerator->command);
  return true;
}

}  // namespace larkspin
