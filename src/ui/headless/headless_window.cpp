#include "ui/headless/headless_window.h"

#include <algorithm>
#include <cctype>
#include <strings.h>

#include "ui/dialog.h"
#include "ui/headless/headless_backend.h"

namespace larkspin {

namespace {
// Dialog base units of the toolkit's default font: 474 by 281 dialog units make 948 by 597 pixels.
constexpr int kBaseUnitX = 8;
constexpr int kBaseUnitY = 17;
constexpr int kDefaultRichTextLimit = 65536;
constexpr int kDefaultEditTextLimit = 32767;

int ScaleRounded(int value, int numerator, int denominator) {
  return (value * numerator + denominator / 2) / denominator;
}

Rect PixelRect(int x, int y, int width, int height) {
  const int left = ScaleRounded(x, kBaseUnitX, 4);
  const int top = ScaleRounded(y, kBaseUnitY, 8);
  return {left, top, left + ScaleRounded(width, kBaseUnitX, 4), top + ScaleRounded(height, kBaseUnitY, 8)};
}

// Text typed or set as a whole carries no look of its own.
RichTextRun PlainRun(const std::string& text) {
  RichTextRun run;
  run.text = text;
  return run;
}

HeadlessControl MakeControl(const ControlTemplate& layout) {
  HeadlessControl control;
  control.layout = layout;
  control.rect = PixelRect(layout.x, layout.y, layout.width, layout.height);
  control.text = layout.text;
  control.enabled = !(layout.style & kStyleDisabled);
  control.visible = !(layout.style & kStyleHidden);
  control.password = layout.style & kStylePassword;
  control.read_only = layout.style & kStyleReadOnly;
  if (layout.kind == ControlKind::kListView) control.list = std::make_unique<CListModel>();
  if (layout.kind == ControlKind::kRichEdit) control.text_limit = kDefaultRichTextLimit;
  if (layout.kind == ControlKind::kEdit) control.text_limit = kDefaultEditTextLimit;
  return control;
}
}  // namespace

CHeadlessWindow::CHeadlessWindow(CHeadlessBackend& backend, CDialog& dialog, const DialogTemplate& layout,
                                 CHeadlessWindow* parent)
    : backend_(backend), dialog_(dialog), template_id_(layout.id), parent_(parent), title_(layout.caption) {
  const Rect client = PixelRect(0, 0, layout.width, layout.height);
  window_rect_ = client;
  for (const ControlTemplate& control : layout.controls) controls_.emplace(control.id, MakeControl(control));
  backend_.Register(this);
}

CHeadlessWindow::~CHeadlessWindow() { backend_.Unregister(this); }

HeadlessControl* CHeadlessWindow::Find(int id) {
  const auto found = controls_.find(id);
  return found != controls_.end() ? &found->second : nullptr;
}

const HeadlessControl* CHeadlessWindow::Find(int id) const {
  const auto found = controls_.find(id);
  return found != controls_.end() ? &found->second : nullptr;
}

const HeadlessControl* CHeadlessWindow::Control(int id) const { return Find(id); }

HeadlessControl* CHeadlessWindow::Usable(int id) {
  HeadlessControl* control = Find(id);
  return control && control->enabled && control->visible && shown_ ? control : nullptr;
}

void CHeadlessWindow::Notify(int id, NotifyCode code, int index, Point point) {
  dialog_.HandleNotify({id, code, index, point});
}

bool CHeadlessWindow::Click(int id) {
  HeadlessControl* control = Usable(id);
  if (!control) return false;
  const ControlKind kind = control->layout.kind;
  if (kind == ControlKind::kPushButton) focus_ = id;
  if (kind == ControlKind::kCheckBox) control->checked = !control->checked;
  else if (kind == ControlKind::kStatic && !(control->layout.style & kStyleNotify)) return false;
  else if (kind != ControlKind::kPushButton && kind != ControlKind::kCheckBox && kind != ControlKind::kStatic)
    return false;
  dialog_.HandleCommand(id);
  return true;
}

bool CHeadlessWindow::Type(int id, const std::string& text) {
  HeadlessControl* control = Usable(id);
  if (!control || control->read_only) return false;
  if (control->layout.kind == ControlKind::kRichEdit) {
    control->runs = {PlainRun(text)};
  } else if (control->layout.kind == ControlKind::kEdit) {
    control->text = text.substr(0, static_cast<size_t>(control->text_limit));
  } else {
    return false;
  }
  focus_ = id;
  Notify(id, NotifyCode::kTextChange);
  return true;
}

bool CHeadlessWindow::ChooseEntry(int id, int index) {
  HeadlessControl* control = Usable(id);
  if (!control || index < 0 || index >= static_cast<int>(control->entries.size())) return false;
  control->selection = index;
  Notify(id, NotifyCode::kSelectionChange, index);
  return true;
}

bool CHeadlessWindow::SelectRows(int id, const std::vector<int>& rows) {
  HeadlessControl* control = Usable(id);
  if (!control || !control->list) return false;
  control->list->ClearSelection();
  for (int row : rows) control->list->SetSelected(row, true);
  control->list->SetFocusedRow(rows.empty() ? -1 : rows.front());
  focus_ = id;
  Notify(id, NotifyCode::kSelectionChange);
  return true;
}

bool CHeadlessWindow::DoubleClick(int id) {
  HeadlessControl* control = Usable(id);
  if (!control || !control->list) return false;
  Notify(id, NotifyCode::kDoubleClick);
  return true;
}

bool CHeadlessWindow::RightClick(int id, Point screen_point) {
  HeadlessControl* control = Usable(id);
  if (!control || !control->list) return false;
  backend_.SetCursorPosition(screen_point);
  Notify(id, NotifyCode::kRightClick, -1, screen_point);
  return true;
}

bool CHeadlessWindow::ClickColumn(int id, int column) {
  HeadlessControl* control = Usable(id);
  if (!control || !control->list || column < 0 || column >= static_cast<int>(control->list->Columns().size()))
    return false;
  Notify(id, NotifyCode::kColumnClick, column);
  return true;
}

bool CHeadlessWindow::ChooseMenuItem(int id) {
  const MenuItem* item = menu_.FindCommand(id);
  if (!item || !item->enabled || !shown_) return false;
  dialog_.HandleCommand(id);
  return true;
}

bool CHeadlessWindow::FireTimer(int id) {
  if (!IsTimerRunning(id)) return false;
  dialog_.HandleTimer(id);
  return true;
}

bool CHeadlessWindow::PressEscape() {
  if (!shown_) return false;
  dialog_.HandleCommand(kIdCancel);
  return true;
}

int CHeadlessWindow::ButtonOfMnemonic(int letter) const {
  for (const auto& [id, control] : controls_) {
    if (control.layout.kind != ControlKind::kPushButton || !control.enabled || !control.visible) continue;
    const size_t mark = control.text.find('&');
    if (mark != std::string::npos && mark + 1 < control.text.size() && std::toupper(static_cast<unsigned char>(control.text[mark + 1])) == letter)
      return id;
  }
  return 0;
}

int CHeadlessWindow::DefaultButton() const {
  for (const auto& [id, control] : controls_)
    if (control.layout.style & kStyleDefaultButton) return id;
  return 0;
}

bool CHeadlessWindow::PressKey(int key, unsigned modifiers) {
  if (!shown_) return false;
  if (dialog_.HandleKey(key, modifiers)) return true;
  if (key == kKeyEscape && modifiers == kKeyPlain) return PressEscape();
  if (modifiers == kKeyAlt) {
    const int button = ButtonOfMnemonic(key);
    return button != 0 && Click(button);
  }
  if (key != kKeyReturn || modifiers != kKeyPlain) return false;
  const HeadlessControl* focused = Find(focus_);
  if (focused && focused->layout.kind == ControlKind::kPushButton) return Click(focus_);
  const bool multi_line = focused && (focused->layout.style & kStyleMultiLine);
  return !multi_line && DefaultButton() != 0 && Click(DefaultButton());
}

bool CHeadlessWindow::PressCloseBox() {
  if (!shown_) return false;
  dialog_.HandleCloseBox();
  return true;
}

void CHeadlessWindow::Resize(int client_width, int client_height) {
  const int width = std::max(client_width, minimum_.width);
  const int height = std::max(client_height, minimum_.height);
  MoveWindow({window_rect_.left, window_rect_.top, window_rect_.left + width, window_rect_.top + height});
}

void CHeadlessWindow::Minimize() {
  minimized_ = true;
  dialog_.HandleSize(SizeKind::kMinimized, 0, 0);
}

void CHeadlessWindow::Restore() {
  minimized_ = false;
  dialog_.HandleSize(SizeKind::kRestored, window_rect_.Width(), window_rect_.Height());
}

int CHeadlessWindow::TimerPeriod(int id) const {
  const auto timer = timers_.find(id);
  return timer != timers_.end() ? timer->second : 0;
}

std::vector<RichTextRun> CHeadlessWindow::RichRuns(int id) const {
  const HeadlessControl* control = Find(id);
  return control ? control->runs : std::vector<RichTextRun>();
}

void CHeadlessWindow::Show(bool show) {
  const bool was_shown = shown_;
  shown_ = show;
  if (show && !was_shown) dialog_.HandleShown();
}

void CHeadlessWindow::MoveWindow(const Rect& rect) {
  const bool resized = rect.Width() != window_rect_.Width() || rect.Height() != window_rect_.Height();
  window_rect_ = rect;
  if (resized) dialog_.HandleSize(SizeKind::kRestored, rect.Width(), rect.Height());
}

Size CHeadlessWindow::TextSize(int id, const std::string& text) const {
  if (!Find(id)) return {};
  return {kBaseUnitX * static_cast<int>(text.size()), kBaseUnitY};
}

Size CHeadlessWindow::DialogUnitsToPixels(Size units) const {
  const Rect rect = PixelRect(0, 0, units.width, units.height);
  return {rect.Width(), rect.Height()};
}

Point CHeadlessWindow::ClientToScreen(Point point) const {
  return {point.x + window_rect_.left, point.y + window_rect_.top};
}

void CHeadlessWindow::EndModal(int result) {
  end_result_ = result;
  ended_ = true;
  shown_ = false;
}

void CHeadlessWindow::SetText(int id, const std::string& text) {
  HeadlessControl* control = Find(id);
  if (!control) return;
  if (control->layout.kind == ControlKind::kRichEdit) {
    control->runs.clear();
    if (!text.empty()) control->runs.push_back(PlainRun(text));
  } else if (control->layout.kind == ControlKind::kDropDownList) {
    const auto entry = std::find(control->entries.begin(), control->entries.end(), text);
    control->selection = entry != control->entries.end() ? static_cast<int>(entry - control->entries.begin()) : -1;
  } else {
    control->text = text;
  }
}

std::string CHeadlessWindow::Text(int id) const {
  const HeadlessControl* control = Find(id);
  if (!control) return {};
  if (control->layout.kind == ControlKind::kRichEdit) return PlainTextOf(control->runs);
  if (control->layout.kind == ControlKind::kDropDownList) return ComboEntry(id, control->selection);
  return control->text;
}

void CHeadlessWindow::Enable(int id, bool enable) {
  if (HeadlessControl* control = Find(id)) control->enabled = enable;
}

bool CHeadlessWindow::IsEnabled(int id) const {
  const HeadlessControl* control = Find(id);
  return control && control->enabled;
}

void CHeadlessWindow::ShowControl(int id, bool show) {
  if (HeadlessControl* control = Find(id)) control->visible = show;
}

bool CHeadlessWindow::IsControlShown(int id) const {
  const HeadlessControl* control = Find(id);
  return control && control->visible;
}

void CHeadlessWindow::SetFocus(int id) {
  if (HasControl(id)) focus_ = id;
}

Rect CHeadlessWindow::ControlRect(int id) const {
  const HeadlessControl* control = Find(id);
  return control ? control->rect : Rect{};
}

void CHeadlessWindow::MoveControl(int id, const Rect& rect) {
  if (HeadlessControl* control = Find(id)) control->rect = rect;
}

void CHeadlessWindow::SetToolTip(int id, const std::string& text) {
  if (HeadlessControl* control = Find(id)) control->tool_tip = text;
}

void CHeadlessWindow::SetButtonIcons(int id, int normal_icon, int hot_icon) {
  if (HeadlessControl* control = Find(id)) {
    control->normal_icon = normal_icon;
    control->hot_icon = hot_icon;
  }
}

void CHeadlessWindow::SetCheck(int id, bool checked) {
  if (HeadlessControl* control = Find(id)) control->checked = checked;
}

bool CHeadlessWindow::IsChecked(int id) const {
  const HeadlessControl* control = Find(id);
  return control && control->checked;
}

void CHeadlessWindow::SetPasswordStyle(int id, bool password) {
  if (HeadlessControl* control = Find(id)) control->password = password;
}

void CHeadlessWindow::SetReadOnly(int id, bool read_only) {
  if (HeadlessControl* control = Find(id)) control->read_only = read_only;
}

void CHeadlessWindow::SetLinkLook(int id, const LinkLook& look) {
  if (HeadlessControl* control = Find(id)) control->link = look;
}

void CHeadlessWindow::ResetCombo(int id) {
  if (HeadlessControl* control = Find(id)) {
    control->entries.clear();
    control->selection = -1;
  }
}

int CHeadlessWindow::AddComboEntry(int id, const std::string& text) {
  HeadlessControl* control = Find(id);
  if (!control) return -1;
  auto at = control->entries.end();
  if (control->layout.style & kStyleSorted) {
    at = std::find_if(control->entries.begin(), control->entries.end(),
                      [&](const std::string& entry) { return strcasecmp(entry.c_str(), text.c_str()) > 0; });
  }
  const int index = static_cast<int>(at - control->entries.begin());
  control->entries.insert(at, text);
  if (control->selection >= index) ++control->selection;
  return index;
}

void CHeadlessWindow::SelectComboEntry(int id, int index) {
  HeadlessControl* control = Find(id);
  if (!control) return;
  control->selection = index >= 0 && index < static_cast<int>(control->entries.size()) ? index : -1;
}

int CHeadlessWindow::ComboSelection(int id) const {
  const HeadlessControl* control = Find(id);
  return control ? control->selection : -1;
}

int CHeadlessWindow::ComboCount(int id) const {
  const HeadlessControl* control = Find(id);
  return control ? static_cast<int>(control->entries.size()) : 0;
}

std::string CHeadlessWindow::ComboEntry(int id, int index) const {
  const HeadlessControl* control = Find(id);
  if (!control || index < 0 || index >= static_cast<int>(control->entries.size())) return {};
  return control->entries[static_cast<size_t>(index)];
}

void CHeadlessWindow::SetProgress(int id, const ProgressBarState& state) {
  if (HeadlessControl* control = Find(id)) control->progress = state;
}

ProgressBarState CHeadlessWindow::Progress(int id) const {
  const HeadlessControl* control = Find(id);
  return control ? control->progress : ProgressBarState();
}

void CHeadlessWindow::ReplaceSelectionWithRtf(int id, const std::string& rtf) {
  HeadlessControl* control = Find(id);
  if (!control || control->layout.kind != ControlKind::kRichEdit) return;
  control->rtf_received.push_back(rtf);
  // The selection is where the last insertion ended: the end of the text.
  for (RichTextRun& run : ReadRtf(rtf)) control->runs.push_back(std::move(run));
}

void CHeadlessWindow::SetBackground(int id, Colour colour) {
  if (HeadlessControl* control = Find(id)) control->background = colour;
}

void CHeadlessWindow::SetTextLimit(int id, int limit) {
  HeadlessControl* control = Find(id);
  if (!control) return;
  const bool rich = control->layout.kind == ControlKind::kRichEdit;
  control->text_limit = limit > 0 ? limit : (rich ? kDefaultRichTextLimit : kDefaultEditTextLimit);
}

int CHeadlessWindow::TextLimit(int id) const {
  const HeadlessControl* control = Find(id);
  return control ? control->text_limit : 0;
}

CListModel* CHeadlessWindow::List(int id) {
  HeadlessControl* control = Find(id);
  return control ? control->list.get() : nullptr;
}

void CHeadlessWindow::TrackPopupMenu(const CMenu& menu, Point screen_point) {
  const int choice = backend_.TakePopupChoice();
  const MenuItem* item = choice != 0 ? menu.FindCommand(choice) : nullptr;
  const int chosen = item && item->enabled ? choice : 0;
  backend_.popup_menus_.push_back({menu, screen_point, chosen});
  if (chosen != 0) dialog_.HandleCommand(chosen);
}

}  // namespace larkspin
