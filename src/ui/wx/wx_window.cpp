#include "ui/wx/wx_window.h"

#include <strings.h>

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/evtloop.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "ui/dialog.h"
#include "ui/label_alignment.h"
#include "ui/rtf_reader.h"
#include "ui/wx/wx_controls.h"
#include "ui/wx/wx_icons.h"
#include "ui/wx/wx_text.h"

namespace larkspin {

namespace {

constexpr int kDefaultRichTextLimit = 65536;
constexpr int kDefaultEditTextLimit = 32767;

wxColour ToColour(Colour colour) { return wxColour(RedOf(colour), GreenOf(colour), BlueOf(colour)); }

long FrameStyle(const DialogTemplate& layout) {
  long style = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX;
  if (layout.style & kDialogResizable) style |= wxRESIZE_BORDER;
  if (layout.style & kDialogMinimizeBox) style |= wxMINIMIZE_BOX;
  if (layout.style & kDialogMaximizeBox) style |= wxMAXIMIZE_BOX;
  return style;
}

std::string WithWindowsLineEnds(const std::string& text) {
  std::string converted;
  converted.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') converted += '\r';
    converted += c;
  }
  return converted;
}

std::string WithoutCarriageReturns(const std::string& text) {
  std::string converted;
  for (const char c : text)
    if (c != '\r') converted += c;
  return converted;
}

}  // namespace

class CWxWindow::CIdTimer : public wxTimer {
 public:
  CIdTimer(CWxWindow& owner, int id) : owner_(owner), id_(id) {}
  void Notify() override { owner_.OnTimerTick(id_); }

 private:
  CWxWindow& owner_;
  int id_;
};

CWxDialog::CWxDialog(wxWindow* parent, const DialogTemplate& layout, CWxWindow& owner)
    : wxDialog(parent, wxID_ANY, ToWx(layout.caption), wxDefaultPosition, wxDefaultSize, FrameStyle(layout)),
      owner_(&owner) {
  Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    if (owner_) owner_->OnSized();
    event.Skip();
  });
  Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
    if (owner_) owner_->OnCharHook(event);
    else event.Skip();
  });
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
    if (owner_ && event.CanVeto()) {
      event.Veto();
      owner_->Dialog().HandleCloseBox();
    } else {
      event.Skip();
    }
  });
  Bind(wxEVT_MENU, [this](wxCommandEvent& event) {
    if (owner_) owner_->OnMenuItem(event.GetId());
  });
  Bind(wxEVT_ACTIVATE, [this](wxActivateEvent& event) {
    if (owner_ && event.GetActive()) owner_->OnActivated();
    event.Skip();
  });
}

CWxWindow::CWxWindow(CDialog& dialog, const DialogTemplate& layout, CWxWindow* parent)
    : dialog_(dialog), template_id_(layout.id), top_level_(parent == nullptr) {
  frame_ = new CWxDialog(parent ? parent->Frame() : nullptr, layout, *this);
  client_ = new wxPanel(frame_, wxID_ANY);
  const wxSize client = client_->ConvertDialogToPixels(wxSize(layout.width, layout.height));
  frame_->SetClientSize(client);
  client_->SetSize(client);
  for (const ControlTemplate& control : layout.controls) CreateControl(control);
  CentreLabelsOnFields();
  reported_size_ = {client.x, client.y};
  ready_ = true;
}

CWxWindow::~CWxWindow() {
  timers_.clear();
  frame_->Detach();
  frame_->Hide();
  delete frame_;
}

wxWindow* CWxWindow::MakeControlWindow(const ControlTemplate& layout, const wxPoint& position, const wxSize& size) {
  const wxString text = ToWx(layout.text);
  switch (layout.kind) {
    case ControlKind::kPushButton:
      return new CWxFlatButton(client_, layout.id, text, position, size, [this, id = layout.id] { OnCommand(id); });
    case ControlKind::kStatic: {
      long style = wxST_NO_AUTORESIZE;
      if (layout.style & kStyleRightAligned) style |= wxALIGN_RIGHT;
      if (layout.style & kStyleCentered) style |= wxALIGN_CENTRE_HORIZONTAL;
      if (layout.style & kStyleSunken) style |= wxBORDER_SUNKEN;
      return new wxStaticText(client_, layout.id, text, position, size, style);
    }
    case ControlKind::kEdit: {
      long style = 0;
      if (layout.style & kStylePassword) style |= wxTE_PASSWORD;
      if (layout.style & kStyleReadOnly) style |= wxTE_READONLY;
      if (layout.style & kStyleMultiLine) style |= wxTE_MULTILINE;
      return new wxTextCtrl(client_, layout.id, text, position, size, style);
    }
    case ControlKind::kRichEdit: {
      long style = wxTE_MULTILINE | wxTE_RICH2;
      if (layout.style & kStyleReadOnly) style |= wxTE_READONLY;
      return new wxTextCtrl(client_, layout.id, "", position, size, style);
    }
    case ControlKind::kCheckBox:
      return new wxCheckBox(client_, layout.id, text, position, size);
    case ControlKind::kDropDownList:
      return new wxChoice(client_, layout.id, position, wxSize(size.x, -1));
    case ControlKind::kListView:
      return new CWxHeaderList(client_, layout.id, position, size, layout.style & kStyleSingleSelection,
                               layout.style & kStyleReportView);
    case ControlKind::kProgressBar:
      return new CWxPercentBar(client_, layout.id, position, size);
  }
  return nullptr;
}

void CWxWindow::BindControlEvents(const ControlTemplate& layout, wxWindow* window) {
  const int id = layout.id;
  switch (layout.kind) {
    case ControlKind::kStatic:
      if (layout.style & kStyleNotify) window->Bind(wxEVT_LEFT_UP, [this, id](wxMouseEvent&) { OnCommand(id); });
      break;
    case ControlKind::kEdit:
    case ControlKind::kRichEdit:
      window->Bind(wxEVT_TEXT, [this, id](wxCommandEvent&) { OnNotify(id, NotifyCode::kTextChange); });
      break;
    case ControlKind::kCheckBox:
      window->Bind(wxEVT_CHECKBOX, [this, id](wxCommandEvent&) { OnCommand(id); });
      break;
    case ControlKind::kDropDownList:
      window->Bind(wxEVT_CHOICE, [this, id](wxCommandEvent& event) {
        OnNotify(id, NotifyCode::kSelectionChange, event.GetSelection());
      });
      break;
    case ControlKind::kListView: {
      auto* list = static_cast<CWxHeaderList*>(window);
      const auto selection_changed = [this, id, list](wxListEvent&) {
        list->ReadBack();
        OnNotify(id, NotifyCode::kSelectionChange);
      };
      list->Bind(wxEVT_LIST_ITEM_SELECTED, selection_changed);
      list->Bind(wxEVT_LIST_ITEM_DESELECTED, selection_changed);
      list->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this, id, list](wxListEvent&) {
        list->ReadBack();
        OnNotify(id, NotifyCode::kDoubleClick);
      });
      list->Bind(wxEVT_LIST_ITEM_RIGHT_CLICK, [this, id, list](wxListEvent&) {
        list->ReadBack();
        OnNotify(id, NotifyCode::kRightClick);
      });
      list->Bind(wxEVT_LIST_COL_CLICK, [this, id](wxListEvent& event) {
        OnNotify(id, NotifyCode::kColumnClick, event.GetColumn());
      });
      list->Bind(wxEVT_LIST_COL_END_DRAG, [list](wxListEvent& event) {
        event.Skip();
        list->CallAfter([list] { list->ReadBack(); });
      });
      break;
    }
    case ControlKind::kPushButton:
    case ControlKind::kProgressBar:
      break;
  }
}

void CWxWindow::CreateControl(const ControlTemplate& layout) {
  const wxPoint position = client_->ConvertDialogToPixels(wxPoint(layout.x, layout.y));
  const wxSize size = client_->ConvertDialogToPixels(wxSize(layout.width, layout.height));
  wxWindow* window = MakeControlWindow(layout, position, size);
  if (!window) return;
  if (layout.style & kStyleDisabled) window->Disable();
  if (layout.style & kStyleHidden) window->Hide();
  BindControlEvents(layout, window);
  const int limit = layout.kind == ControlKind::kRichEdit ? kDefaultRichTextLimit : kDefaultEditTextLimit;
  controls_[layout.id] = {layout, window, limit};
}

void CWxWindow::CentreLabelsOnFields() {
  constexpr int kLabelGapInDialogUnits = 12;
  std::vector<PlacedControl> placed;
  for (const auto& [id, entry] : controls_) {
    const wxRect rect = entry.window->GetRect();
    placed.push_back({id, entry.layout.kind, entry.layout.style, {rect.x, rect.y, rect.GetRight() + 1, rect.GetBottom() + 1}});
  }
  const int max_gap = client_->ConvertDialogToPixels(wxSize(kLabelGapInDialogUnits, 0)).x;
  for (const auto& [id, top] : LabelTopsBesideFields(placed, max_gap)) {
    wxWindow* label = controls_.at(id).window;
    label->Move(label->GetPosition().x, top);
  }
}

CWxWindow::ControlEntry* CWxWindow::Entry(int id) {
  const auto found = controls_.find(id);
  return found != controls_.end() ? &found->second : nullptr;
}

const CWxWindow::ControlEntry* CWxWindow::Entry(int id) const {
  const auto found = controls_.find(id);
  return found != controls_.end() ? &found->second : nullptr;
}

wxWindow* CWxWindow::ControlWindow(int id) const {
  const ControlEntry* entry = Entry(id);
  return entry ? entry->window : nullptr;
}

template <typename T>
T* CWxWindow::As(int id) const {
  return dynamic_cast<T*>(ControlWindow(id));
}

int CWxWindow::RunModal() {
  modal_ = true;
  if (ended_early_) {  // ended during its initialisation
    ended_early_ = false;
    modal_ = false;
    return early_result_;
  }
  // The window's focus is placed when it becomes active, before the first key reaches it (on a
  // busy machine the first idle moment can come after the user's first keys); a window that is
  // not activated gets it once the loop is idle.
  shown_reported_ = false;
  frame_->CallAfter([this] { ReportShown(); });
  running_modal_ = true;
  const int result = top_level_ ? RunAsTopLevelWindow() : frame_->ShowModal();
  running_modal_ = false;
  modal_ = false;
  return result;
}

void CWxWindow::TypeText(int id, const std::string& text) {
  if (auto* edit = As<wxTextCtrl>(id)) edit->SetValue(ToWx(text));  // sends the change event as typing does
}

void CWxWindow::PressButton(int id) {
  if (auto* button = As<CWxFlatButton>(id)) button->Click();
}

void CWxWindow::OnCommand(int id) { dialog_.HandleCommand(id); }

void CWxWindow::OnMenuItem(int toolkit_id) {
  if (const int command = menu_ids_.CommandOf(toolkit_id)) OnCommand(command);
}

void CWxWindow::OnNotify(int id, NotifyCode code, int index) {
  const wxPoint mouse = wxGetMousePosition();
  dialog_.HandleNotify({id, code, index, {mouse.x, mouse.y}});
}

void CWxWindow::LayOut() {
  const wxSize frame_client = frame_->GetClientSize();
  const int strip_height = menu_strip_ ? menu_strip_->GetBestSize().y : 0;
  if (menu_strip_) menu_strip_->SetSize(0, 0, frame_client.x, strip_height);
  client_->SetSize(0, strip_height, frame_client.x, frame_client.y - strip_height);
}

void CWxWindow::OnSized() {
  LayOut();
  if (!ready_) return;
  const Size now = ClientSize();
  if (frame_->IsIconized()) {
    dialog_.HandleSize(SizeKind::kMinimized, 0, 0);
    return;
  }
  if (now == reported_size_) return;
  reported_size_ = now;
  dialog_.HandleSize(frame_->IsMaximized() ? SizeKind::kMaximized : SizeKind::kRestored, now.width, now.height);
}

void CWxWindow::OnTimerTick(int id) { dialog_.HandleTimer(id); }

int CWxWindow::DefaultButton() const {
  for (const auto& [id, entry] : controls_)
    if (entry.layout.style & kStyleDefaultButton) return id;
  return 0;
}

// The push button whose caption marks letter with "&", usable as the user sees it; 0 for none.
int CWxWindow::ButtonOfMnemonic(wxChar letter) const {
  for (const auto& [id, entry] : controls_) {
    if (entry.layout.kind != ControlKind::kPushButton || !IsEnabled(id) || !IsControlShown(id)) continue;
    wxString caption;
    const int index = wxControl::FindAccelIndex(entry.window->GetLabel(), &caption);
    if (index >= 0 && wxToupper(caption[static_cast<size_t>(index)]) == wxToupper(letter)) return id;
  }
  return 0;
}

namespace {
// The key as the windows' accelerators name it; 0 for a key none can name.
int AcceleratorKey(int key) {
  switch (key) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER: return kKeyReturn;
    case WXK_DELETE:
    case WXK_NUMPAD_DELETE: return kKeyDelete;
    default: return key >= 'A' && key <= 'Z' ? key : 0;
  }
}

unsigned AcceleratorModifiers(const wxKeyEvent& event) {
  unsigned modifiers = kKeyPlain;
  if (event.ControlDown()) modifiers |= kKeyCtrl;
  if (event.AltDown()) modifiers |= kKeyAlt;
  if (event.ShiftDown()) modifiers |= kKeyShift;
  return modifiers;
}
}  // namespace

void CWxWindow::OnCharHook(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  if (key == WXK_ESCAPE) {
    OnCommand(kIdCancel);
    return;
  }
  if (const int accelerator_key = AcceleratorKey(key);
      accelerator_key != 0 && dialog_.HandleKey(accelerator_key, AcceleratorModifiers(event)))
    return;
  if (event.GetModifiers() == wxMOD_ALT && event.GetUnicodeKey() != WXK_NONE) {
    if (const int button = ButtonOfMnemonic(event.GetUnicodeKey())) {
      SetFocus(button);
      OnCommand(button);
      return;
    }
  }
  if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
    wxWindow* focus = wxWindow::FindFocus();
    auto* text = dynamic_cast<wxTextCtrl*>(focus);
    const bool multi_line = text && text->IsMultiLine();
    const int button = DefaultButton();
    if (!multi_line && !dynamic_cast<CWxFlatButton*>(focus) && button != 0 && IsEnabled(button) &&
        IsControlShown(button)) {
      OnCommand(button);
      return;
    }
  }
  event.Skip();
}

void CWxWindow::OnActivated() {
  if (modal_) ReportShown();
}

void CWxWindow::ReportShown() {
  if (shown_reported_) return;
  shown_reported_ = true;
  dialog_.HandleShown();
}

void CWxWindow::SetTitle(const std::string& title) { frame_->SetTitle(ToWx(title)); }
std::string CWxWindow::Title() const { return FromWx(frame_->GetTitle()); }
void CWxWindow::SetIcon(int icon_id) { frame_->SetIcon(WindowIcon(icon_id)); }

void CWxWindow::Show(bool show) {
  const bool was_shown = frame_->IsShown();
  frame_->Show(show);
  if (show) frame_->Raise();
  if (show && !was_shown) dialog_.HandleShown();
}

bool CWxWindow::IsShown() const { return frame_->IsShown(); }
bool CWxWindow::IsMinimized() const { return frame_->IsIconized(); }

Rect CWxWindow::WindowRect() const {
  const wxRect rect = frame_->GetScreenRect();
  return {rect.x, rect.y, rect.x + rect.width, rect.y + rect.height};
}

Size CWxWindow::ClientSize() const {
  const wxSize size = client_->GetSize();
  return {size.x, size.y};
}

void CWxWindow::MoveWindow(const Rect& rect) {
  sized_ = true;
  frame_->SetSize(rect.left, rect.top, rect.Width(), rect.Height());
  OnSized();
}

void CWxWindow::SetMinimumSize(Size size) {
  frame_->SetMinSize(size.width > 0 ? wxSize(size.width, size.height) : wxDefaultSize);
}

Size CWxWindow::TextSize(int id, const std::string& text) const {
  const wxWindow* window = ControlWindow(id);
  if (!window) return {};
  const wxSize size = window->GetTextExtent(ToWx(text));
  return {size.x, size.y};
}

Size CWxWindow::DialogUnitsToPixels(Size units) const {
  const wxSize pixels = client_->ConvertDialogToPixels(wxSize(units.width, units.height));
  return {pixels.x, pixels.y};
}

Point CWxWindow::ClientToScreen(Point point) const {
  const wxPoint screen = client_->ClientToScreen(wxPoint(point.x, point.y));
  return {screen.x, screen.y};
}

// A window without a parent (the program's main window) runs an event loop of its own instead of
// a modal one: a modal window would take all input away from the modeless windows it opens, such
// as the message view.
int CWxWindow::RunAsTopLevelWindow() {
  wxGUIEventLoop loop;
  top_level_loop_ = &loop;
  frame_->Show();
  const int result = loop.Run();
  top_level_loop_ = nullptr;
  frame_->Hide();
  return result;
}

void CWxWindow::EndModal(int result) {
  if (running_modal_) {
    // A second end while closing changes nothing.
    if (top_level_loop_) {
      if (!top_level_loop_->IsRunning() || exit_scheduled_) return;
      exit_scheduled_ = true;
      top_level_loop_->ScheduleExit(result);
    } else if (frame_->IsModal()) {
      frame_->EndModal(result);
    }
  } else if (modal_ || !frame_->IsShown()) {
    ended_early_ = true;
    early_result_ = result;
  } else {
    frame_->Hide();
  }
}

void CWxWindow::SetText(int id, const std::string& text) {
  ControlEntry* entry = Entry(id);
  if (!entry) return;
  switch (entry->layout.kind) {
    case ControlKind::kEdit:
    case ControlKind::kRichEdit:
      static_cast<wxTextCtrl*>(entry->window)->ChangeValue(ToWx(WithoutCarriageReturns(text)));
      break;
    case ControlKind::kDropDownList: {
      auto* choice = static_cast<wxChoice*>(entry->window);
      choice->SetSelection(choice->FindString(ToWx(text), true));
      break;
    }
    default:
      entry->window->SetLabel(ToWx(text));
      entry->window->Refresh();
  }
}

std::string CWxWindow::Text(int id) const { return TypedText(id, TextEncoding::kClassic); }

std::string CWxWindow::TypedText(int id, TextEncoding encoding) const {
  const ControlEntry* entry = Entry(id);
  if (!entry) return {};
  switch (entry->layout.kind) {
    case ControlKind::kEdit:
      return FromWx(static_cast<wxTextCtrl*>(entry->window)->GetValue(), encoding);
    case ControlKind::kRichEdit:
      return WithWindowsLineEnds(FromWx(static_cast<wxTextCtrl*>(entry->window)->GetValue(), encoding));
    case ControlKind::kDropDownList:
      return FromWx(static_cast<wxChoice*>(entry->window)->GetStringSelection(), encoding);
    default:
      return FromWx(entry->window->GetLabel(), encoding);
  }
}

void CWxWindow::Enable(int id, bool enable) {
  if (wxWindow* window = ControlWindow(id)) {
    window->Enable(enable);
    window->Refresh();
  }
}

bool CWxWindow::IsEnabled(int id) const {
  const wxWindow* window = ControlWindow(id);
  return window && window->IsThisEnabled();
}

void CWxWindow::ShowControl(int id, bool show) {
  if (wxWindow* window = ControlWindow(id)) window->Show(show);
}

bool CWxWindow::IsControlShown(int id) const {
  const wxWindow* window = ControlWindow(id);
  return window && window->IsShown();
}

void CWxWindow::SetFocus(int id) {
  if (wxWindow* window = ControlWindow(id)) window->SetFocus();
}

int CWxWindow::FocusedControl() const {
  const wxWindow* focus = wxWindow::FindFocus();
  for (const auto& [id, entry] : controls_)
    if (entry.window == focus) return id;
  return 0;
}

Rect CWxWindow::ControlRect(int id) const {
  const wxWindow* window = ControlWindow(id);
  if (!window) return {};
  const wxRect rect = window->GetRect();
  return {rect.x, rect.y, rect.x + rect.width, rect.y + rect.height};
}

void CWxWindow::MoveControl(int id, const Rect& rect) {
  if (wxWindow* window = ControlWindow(id)) {
    window->SetSize(rect.left, rect.top, rect.Width(), rect.Height());
    window->Refresh();
  }
}

void CWxWindow::SetToolTip(int id, const std::string& text) {
  wxWindow* window = ControlWindow(id);
  if (!window) return;
  if (text.empty()) window->UnsetToolTip();
  else window->SetToolTip(ToWx(text));
}

void CWxWindow::SetButtonIcons(int id, int normal_icon, int hot_icon) {
  if (auto* button = As<CWxFlatButton>(id)) button->SetIcons(IconBitmap(normal_icon, 16), IconBitmap(hot_icon, 16));
}

void CWxWindow::SetCheck(int id, bool checked) {
  if (auto* box = As<wxCheckBox>(id)) box->SetValue(checked);
}

bool CWxWindow::IsChecked(int id) const {
  const auto* box = As<wxCheckBox>(id);
  return box && box->GetValue();
}

// The password style of a text field is fixed when it is made: it is made again.
void CWxWindow::SetPasswordStyle(int id, bool password) {
  ControlEntry* entry = Entry(id);
  auto* old_field = entry ? dynamic_cast<wxTextCtrl*>(entry->window) : nullptr;
  if (!old_field || old_field->HasFlag(wxTE_PASSWORD) == password) return;
  ControlTemplate layout = entry->layout;
  layout.style = password ? (layout.style | kStylePassword) : (layout.style & ~kStylePassword);
  auto* field = static_cast<wxTextCtrl*>(MakeControlWindow(layout, old_field->GetPosition(), old_field->GetSize()));
  field->ChangeValue(old_field->GetValue());
  field->SetEditable(old_field->IsEditable());
  field->Enable(old_field->IsThisEnabled());
  field->Show(old_field->IsShown());
  if (old_field->GetToolTip()) field->SetToolTip(old_field->GetToolTipText());
  field->MoveAfterInTabOrder(old_field);
  BindControlEvents(layout, field);
  old_field->Destroy();
  entry->layout = layout;
  entry->window = field;
}

void CWxWindow::SetReadOnly(int id, bool read_only) {
  if (auto* field = As<wxTextCtrl>(id)) field->SetEditable(!read_only);
}

void CWxWindow::SetLinkLook(int id, const LinkLook& look) {
  wxWindow* label = ControlWindow(id);
  if (!label) return;
  label->SetForegroundColour(ToColour(look.colour));
  wxFont font = label->GetFont();
  font.SetUnderlined(look.underline);
  label->SetFont(font);
  label->Refresh();
}

void CWxWindow::ResetCombo(int id) {
  if (auto* choice = As<wxChoice>(id)) choice->Clear();
}

int CWxWindow::AddComboEntry(int id, const std::string& text) {
  ControlEntry* entry = Entry(id);
  auto* choice = entry ? dynamic_cast<wxChoice*>(entry->window) : nullptr;
  if (!choice) return -1;
  unsigned index = choice->GetCount();
  if (entry->layout.style & kStyleSorted) {
    for (unsigned i = 0; i < choice->GetCount(); ++i) {
      if (strcasecmp(FromWx(choice->GetString(i)).c_str(), text.c_str()) > 0) {
        index = i;
        break;
      }
    }
  }
  return choice->Insert(ToWx(text), index);
}

void CWxWindow::SelectComboEntry(int id, int index) {
  if (auto* choice = As<wxChoice>(id))
    choice->SetSelection(index >= 0 && index < static_cast<int>(choice->GetCount()) ? index : wxNOT_FOUND);
}

int CWxWindow::ComboSelection(int id) const {
  const auto* choice = As<wxChoice>(id);
  return choice ? choice->GetSelection() : -1;
}

int CWxWindow::ComboCount(int id) const {
  const auto* choice = As<wxChoice>(id);
  return choice ? static_cast<int>(choice->GetCount()) : 0;
}

std::string CWxWindow::ComboEntry(int id, int index) const {
  const auto* choice = As<wxChoice>(id);
  if (!choice || index < 0 || index >= static_cast<int>(choice->GetCount())) return {};
  return FromWx(choice->GetString(static_cast<unsigned>(index)));
}

void CWxWindow::SetProgress(int id, const ProgressBarState& state) {
  if (auto* bar = As<CWxPercentBar>(id)) bar->SetState(state);
}

ProgressBarState CWxWindow::Progress(int id) const {
  const auto* bar = As<CWxPercentBar>(id);
  return bar ? bar->State() : ProgressBarState();
}

void CWxWindow::ReplaceSelectionWithRtf(int id, const std::string& rtf) {
  auto* field = As<wxTextCtrl>(id);
  if (!field) return;
  field->SetInsertionPointEnd();
  for (const RichTextRun& run : ReadRtf(rtf)) {
    wxFontInfo info(run.half_points / 2.0);
    if (!run.face.empty()) info.FaceName(ToWx(run.face));
    field->SetDefaultStyle(wxTextAttr(ToColour(run.colour), wxNullColour, wxFont(info)));
    field->AppendText(ToWx(WithoutCarriageReturns(run.text)));
  }
}

void CWxWindow::SetBackground(int id, Colour colour) {
  if (wxWindow* window = ControlWindow(id)) {
    window->SetBackgroundColour(ToColour(colour));
    window->Refresh();
  }
}

void CWxWindow::ScrollToTop(int id) {
  if (auto* field = As<wxTextCtrl>(id)) {
    field->SetInsertionPoint(0);
    field->ShowPosition(0);
  }
}

void CWxWindow::SetTextLimit(int id, int limit) {
  ControlEntry* entry = Entry(id);
  if (!entry) return;
  const bool rich = entry->layout.kind == ControlKind::kRichEdit;
  entry->text_limit = limit > 0 ? limit : (rich ? kDefaultRichTextLimit : kDefaultEditTextLimit);
  if (auto* field = dynamic_cast<wxTextCtrl*>(entry->window); field && !field->IsMultiLine())
    field->SetMaxLength(static_cast<unsigned long>(entry->text_limit));
}

int CWxWindow::TextLimit(int id) const {
  const ControlEntry* entry = Entry(id);
  return entry ? entry->text_limit : 0;
}

CListModel* CWxWindow::List(int id) {
  auto* list = As<CWxHeaderList>(id);
  return list ? &list->Model() : nullptr;
}

void CWxWindow::ListChanged(int id) {
  if (auto* list = As<CWxHeaderList>(id)) list->Sync();
}

void CWxWindow::MenuBarChanged() {
  if (!menu_strip_) {
    menu_strip_ = new CWxMenuStrip(frame_, menu_ids_);
    menu_strip_->SetItems(menu_.Items());
    AddMenuStripHeight(menu_strip_->GetBestSize().y);
    return;
  }
  menu_strip_->SetItems(menu_.Items());
}

// The strip belongs to the frame as a menu bar does: a window still at its template size grows by
// it, while a window given its size already (a remembered geometry) keeps that size, so that the
// size a window is given and the size it reports are the same.
void CWxWindow::AddMenuStripHeight(int height) {
  if (!sized_) {
    const wxSize client = frame_->GetClientSize();
    frame_->SetClientSize(client.x, client.y + height);
  }
  const wxSize minimum = frame_->GetMinSize();
  if (minimum.y > 0) frame_->SetMinSize(wxSize(minimum.x, minimum.y + height));
  LayOut();
  OnSized();
}

void CWxWindow::TrackPopupMenu(const CMenu& menu, Point screen_point) {
  wxMenu* popup = BuildWxMenu(menu.Items(), menu_ids_);
  frame_->PopupMenu(popup, frame_->ScreenToClient(wxPoint(screen_point.x, screen_point.y)));
  delete popup;
}

void CWxWindow::SetTimer(int id, int milliseconds) {
  auto& timer = timers_[id];
  if (!timer) timer = std::make_unique<CIdTimer>(*this, id);
  timer->Start(milliseconds);
}

void CWxWindow::KillTimer(int id) { timers_.erase(id); }

}  // namespace larkspin
