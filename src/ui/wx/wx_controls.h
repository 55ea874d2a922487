#pragma once
// The owner-drawn controls of the wx backend: the flat icon button, the percentage progress bar
// and the header list drawn from its model.
#include <functional>
#include <vector>

#include <wx/control.h>
#include <wx/listctrl.h>

#include "res/resource_types.h"
#include "ui/button_paint.h"
#include "ui/control_state.h"
#include "ui/list_model.h"

namespace larkspin {

class CWxFlatButton : public wxControl {
 public:
  CWxFlatButton(wxWindow* parent, int id, const wxString& label, const wxPoint& position, const wxSize& size,
                std::function<void()> on_click);
  void SetIcons(const wxBitmap& normal, const wxBitmap& hot);
  bool AcceptsFocus() const override { return IsEnabled(); }
  // Presses the button as a click of the user would.
  void Click();

 private:
  void OnPaint(wxPaintEvent& event);
  void OnMouse(wxMouseEvent& event);
  void OnKey(wxKeyEvent& event);
  bool Inside(const wxPoint& point) const { return wxRect(GetClientSize()).Contains(point); }

  std::function<void()> on_click_;
  wxBitmap normal_icon_;
  wxBitmap hot_icon_;
  CButtonHover hover_;
};

class CWxPercentBar : public wxControl {
 public:
  CWxPercentBar(wxWindow* parent, int id, const wxPoint& position, const wxSize& size);
  void SetState(const ProgressBarState& state);
  const ProgressBarState& State() const { return state_; }

 private:
  void OnPaint(wxPaintEvent& event);
  ProgressBarState state_;
};

// A virtual list control that shows a CListModel: icons, per-row colours, alignment and texts
// cut to their column with "...".
class CWxHeaderList : public wxListCtrl {
 public:
  CWxHeaderList(wxWindow* parent, int id, const wxPoint& position, const wxSize& size, bool single_selection,
                bool with_header);
  CListModel& Model() { return model_; }
  // Shows what changed in the model.
  void Sync();
  // Takes the user's selection and column widths into the model.
  void ReadBack();

 private:
  wxString OnGetItemText(long item, long column) const override;
  int OnGetItemColumnImage(long item, long column) const override;
  wxItemAttr* OnGetItemAttr(long item) const override;
  void SyncColumns();
  void SyncImages();
  // The tool tip of the row under the pointer.
  void OnPointerMoved(wxMouseEvent& event);

  CListModel model_;
  std::vector<bool> shown_selection_;
  std::vector<int> shown_images_;
  mutable wxItemAttr attr_;
  long tool_tip_row_ = -1;
};

}  // namespace larkspin
