#include "ui/wx/wx_controls.h"

#include <wx/dcbuffer.h>
#include <wx/renderer.h>
#include <wx/settings.h>

#include "ui/cell_text.h"
#include "ui/progress_paint.h"
#include "ui/wx/wx_icons.h"
#include "ui/wx/wx_text.h"

namespace larkspin {

namespace {

wxColour ToColour(Colour colour) { return wxColour(RedOf(colour), GreenOf(colour), BlueOf(colour)); }

void DrawEdge(wxDC& dc, const wxSize& size, ButtonEdge edge) {
  if (edge == ButtonEdge::kNone) return;
  const wxColour light = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT);
  const wxColour dark = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
  const bool raised = edge == ButtonEdge::kRaised;
  dc.SetPen(wxPen(raised ? light : dark));
  dc.DrawLine(0, 0, size.x - 1, 0);
  dc.DrawLine(0, 0, 0, size.y - 1);
  dc.SetPen(wxPen(raised ? dark : light));
  dc.DrawLine(size.x - 1, 0, size.x - 1, size.y);
  dc.DrawLine(0, size.y - 1, size.x, size.y - 1);
}

}  // namespace

CWxFlatButton::CWxFlatButton(wxWindow* parent, int id, const wxString& label, const wxPoint& position,
                             const wxSize& size, std::function<void()> on_click)
    : wxControl(parent, id, position, size, wxBORDER_NONE | wxWANTS_CHARS), on_click_(std::move(on_click)) {
  SetLabel(label);
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &CWxFlatButton::OnPaint, this);
  for (const auto type : {wxEVT_ENTER_WINDOW, wxEVT_LEAVE_WINDOW, wxEVT_MOTION, wxEVT_LEFT_DOWN, wxEVT_LEFT_UP,
                          wxEVT_LEFT_DCLICK})
    Bind(type, &CWxFlatButton::OnMouse, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) {
    hover_.CaptureLost();
    Refresh();
  });
  Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
    Refresh();
    event.Skip();
  });
  Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
    hover_.FocusLost();
    Refresh();
    event.Skip();
  });
  Bind(wxEVT_KEY_DOWN, &CWxFlatButton::OnKey, this);
}

void CWxFlatButton::SetIcons(const wxBitmap& normal, const wxBitmap& hot) {
  normal_icon_ = normal;
  hot_icon_ = hot;
  Refresh();
}

void CWxFlatButton::Click() {
  if (IsEnabled() && on_click_) on_click_();
}

void CWxFlatButton::OnMouse(wxMouseEvent& event) {
  const bool inside = Inside(event.GetPosition());
  if (event.LeftDown() || event.LeftDClick()) {  // a double-click counts as a second click
    hover_.LeftDown();
    if (!HasCapture()) CaptureMouse();
  } else if (event.LeftUp()) {
    if (HasCapture()) ReleaseMouse();
    const bool click = hover_.LeftUp(inside);
    Refresh();
    if (click) Click();
    return;
  } else {
    hover_.MouseMove(inside && !event.Leaving(), event.LeftIsDown());
  }
  Refresh();
}

void CWxFlatButton::OnKey(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  if (key == WXK_SPACE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER) Click();
  else event.Skip();
}

void CWxFlatButton::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  const wxSize size = GetClientSize();
  const wxBitmap& icon = hover_.Hot() || hover_.Pressed() ? hot_icon_ : normal_icon_;
  const Size icon_size = icon.IsOk() ? Size{icon.GetWidth(), icon.GetHeight()} : Size{};
  const IconButtonLayout layout =
      LayOutIconButton({size.x, size.y}, icon_size, !GetLabel().empty(), hover_.Hot(), hover_.Pressed());
  dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
  dc.Clear();
  DrawEdge(dc, size, layout.edge);
  if (HasFocus()) {
    const Rect mark = FocusMarkRect({size.x, size.y});
    wxRendererNative::Get().DrawFocusRect(this, dc, wxRect(mark.left, mark.top, mark.Width(), mark.Height()));
  }
  if (icon.IsOk()) {
    const wxBitmap drawn = IsEnabled() ? icon : icon.ConvertToDisabled();
    dc.DrawBitmap(drawn, layout.icon.x, layout.icon.y, true);
  }
  if (GetLabel().empty()) return;
  dc.SetFont(GetFont());
  dc.SetTextForeground(wxSystemSettings::GetColour(IsEnabled() ? wxSYS_COLOUR_BTNTEXT : wxSYS_COLOUR_GRAYTEXT));
  const wxRect area(layout.caption.left, layout.caption.top, layout.caption.Width(), layout.caption.Height());
  wxString caption;
  const int accelerator = wxControl::FindAccelIndex(GetLabel(), &caption);
  dc.DrawLabel(caption, area, wxALIGN_CENTER, accelerator);
}

CWxPercentBar::CWxPercentBar(wxWindow* parent, int id, const wxPoint& position, const wxSize& size)
    : wxControl(parent, id, position, size, wxBORDER_NONE) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  state_.background = Rgb(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE).Red(),
                          wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE).Green(),
                          wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE).Blue());
  Bind(wxEVT_PAINT, &CWxPercentBar::OnPaint, this);
}

void CWxPercentBar::SetState(const ProgressBarState& state) {
  const Colour background = state_.background;
  state_ = state;
  state_.background = background;  // the theme's button face, not the default's
  Refresh();
}

void CWxPercentBar::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);  // drawn off screen, copied in one step
  const wxSize size = GetClientSize();
  const ProgressPaint paint = PaintPercentProgress(state_, size.x);
  dc.SetPen(*wxTRANSPARENT_PEN);
  for (const ProgressBand& band : paint.bands) {
    dc.SetBrush(wxBrush(ToColour(band.colour)));
    dc.DrawRectangle(band.left, 0, band.right - band.left, size.y + 1);
  }
  if (paint.background_from < size.x) {
    dc.SetBrush(wxBrush(ToColour(paint.background)));
    dc.DrawRectangle(paint.background_from, 0, size.x - paint.background_from, size.y + 1);
  }
  if (paint.text.empty()) return;
  dc.SetFont(GetFont());
  dc.SetTextForeground(ToColour(state_.text_colour));
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc.DrawLabel(ToWx(paint.text), wxRect(size), wxALIGN_CENTER);
}

CWxHeaderList::CWxHeaderList(wxWindow* parent, int id, const wxPoint& position, const wxSize& size,
                             bool single_selection, bool with_header)
    : wxListCtrl(parent, id, position, size,
                 wxLC_REPORT | wxLC_VIRTUAL | (single_selection ? wxLC_SINGLE_SEL : 0) |
                     (with_header ? 0 : wxLC_NO_HEADER) | wxBORDER_SUNKEN) {
  // The pointer moves over the list's own windows: the column titles and, below them, the rows.
  for (wxWindow* child : GetChildren()) child->Bind(wxEVT_MOTION, &CWxHeaderList::OnPointerMoved, this);
}

// HitTest takes positions in the rows' window, the lowest of the list's windows.
void CWxHeaderList::OnPointerMoved(wxMouseEvent& event) {
  event.Skip();
  auto* window = static_cast<wxWindow*>(event.GetEventObject());
  for (const wxWindow* child : GetChildren())
    if (child->GetPosition().y > window->GetPosition().y) return;  // over the column titles
  int flags = 0;
  const long row = HitTest(event.GetPosition(), flags);
  if (row == tool_tip_row_) return;
  tool_tip_row_ = row;
  if (row >= 0 && row < model_.RowCount() && !model_.Row(static_cast<int>(row)).tool_tip.empty())
    window->SetToolTip(ToWx(model_.Row(static_cast<int>(row)).tool_tip));
  else
    window->UnsetToolTip();
}

void CWxHeaderList::SyncColumns() {
  const std::vector<ListColumn>& columns = model_.Columns();
  if (columns.empty() && GetColumnCount() == 0) {
    AppendColumn("", wxLIST_FORMAT_LEFT, GetClientSize().x);
    return;
  }
  if (columns.empty() || GetColumnCount() == static_cast<int>(columns.size())) return;
  DeleteAllColumns();
  for (const ListColumn& column : columns) {
    const wxListColumnFormat format = column.align == kAlignRight    ? wxLIST_FORMAT_RIGHT
                                      : column.align == kAlignCentre ? wxLIST_FORMAT_CENTRE
                                                                     : wxLIST_FORMAT_LEFT;
    AppendColumn(ToWx(column.title), format, column.width);
  }
}

void CWxHeaderList::SyncImages() {
  if (shown_images_ == model_.ImageList()) return;
  auto* images = new wxImageList(16, 16, true, static_cast<int>(model_.ImageList().size()));
  for (const int icon_id : model_.ImageList()) images->Add(IconBitmap(icon_id, 16));
  AssignImageList(images, wxIMAGE_LIST_SMALL);
  shown_images_ = model_.ImageList();
}

void CWxHeaderList::Sync() {
  SyncColumns();
  SyncImages();
  if (model_.SortColumn() >= 0 && model_.SortColumn() < GetColumnCount())
    ShowSortIndicator(model_.SortColumn(), model_.SortAscending());
  else
    RemoveSortIndicator();
  const int rows = model_.RowCount();
  if (GetItemCount() != rows) SetItemCount(rows);
  shown_selection_.resize(static_cast<size_t>(rows), false);
  for (int row = 0; row < rows; ++row) {
    const bool selected = model_.IsSelected(row);
    if (shown_selection_[static_cast<size_t>(row)] == selected) continue;
    SetItemState(row, selected ? wxLIST_STATE_SELECTED : 0, wxLIST_STATE_SELECTED);
    shown_selection_[static_cast<size_t>(row)] = selected;
  }
  Refresh();
}

void CWxHeaderList::ReadBack() {
  model_.ClearSelection();
  shown_selection_.assign(static_cast<size_t>(model_.RowCount()), false);
  for (long row = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row >= 0 && row < model_.RowCount();
       row = GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
    model_.SetSelected(static_cast<int>(row), true);
    shown_selection_[static_cast<size_t>(row)] = true;
  }
  const long focused = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED);
  model_.SetFocusedRow(static_cast<int>(focused));
  for (size_t column = 0; column < model_.Columns().size(); ++column)
    model_.SetColumnWidth(column, GetColumnWidth(static_cast<int>(column)));
}

wxString CWxHeaderList::OnGetItemText(long item, long column) const {
  if (item < 0 || item >= model_.RowCount()) return {};
  const std::string text = model_.CellText(static_cast<int>(item), static_cast<size_t>(column));
  const ListRow& row = model_.Row(static_cast<int>(item));
  int width = GetColumnWidth(static_cast<int>(column));
  if (column == 0 && row.image >= 0) width -= 16 + 4;
  wxClientDC dc(const_cast<CWxHeaderList*>(this));
  dc.SetFont(row.bold ? GetFont().Bold() : GetFont());
  const auto measure = [&](std::string_view piece) { return dc.GetTextExtent(ToWx(std::string(piece), row.encoding)).x; };
  return ToWx(FitCellText(text, width, measure, row.encoding), row.encoding);
}

int CWxHeaderList::OnGetItemColumnImage(long item, long column) const {
  if (column != 0 || item < 0 || item >= model_.RowCount()) return -1;
  return model_.Row(static_cast<int>(item)).image;
}

wxItemAttr* CWxHeaderList::OnGetItemAttr(long item) const {
  if (item < 0 || item >= model_.RowCount()) return nullptr;
  const ListRow& row = model_.Row(static_cast<int>(item));
  attr_ = wxItemAttr();
  if (row.text_colour) attr_.SetTextColour(ToColour(*row.text_colour));
  if (row.background) attr_.SetBackgroundColour(ToColour(*row.background));
  if (row.bold) attr_.SetFont(GetFont().Bold());
  return &attr_;
}

}  // namespace larkspin
