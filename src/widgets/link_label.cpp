#include "widgets/link_label.h"

#include "common/format.h"
#include "common/message_box.h"
#include "ui/backend.h"
#include "ui/dialog.h"
#include "widgets/desktop_open.h"

namespace larkspin {

namespace {
constexpr const char* kLinkFailureHeading = "Unable to open hyperlink:";
}  // namespace

CLinkLabel::CLinkLabel() : opener_([](const std::string& address) { return StartDesktopOpen(address, kLinkFailureHeading); }) {}

void CLinkLabel::Attach(CDialog& window, int control_id) {
  window_ = &window;
  control_id_ = control_id;
  if (address_.empty()) address_ = window.ItemText(control_id);
  if (window.ItemText(control_id).empty()) window.SetItemText(control_id, address_);
  window.SetToolTip(control_id, address_);
  window.Commands().OnCommand(control_id, [this] { Open(); });
  FitToText();
  UpdateLook();
}

void CLinkLabel::SetLinkAddress(const std::string& address) {
  address_ = address;
  if (!window_) return;
  window_->SetToolTip(control_id_, address_);
  FitToText();
}

void CLinkLabel::FitToText() {
  const Rect rect = window_->ItemRect(control_id_);
  const Size text = window_->TextSize(control_id_, window_->ItemText(control_id_));
  window_->MoveItem(control_id_, {rect.left, rect.top, rect.left + text.width, rect.top + text.height});
}

void CLinkLabel::SetVisitedState(bool visited) {
  visited_ = visited;
  UpdateLook();
}

void CLinkLabel::UpdateLook() {
  if (window_) window_->SetLinkLook(control_id_, {visited_ ? visited_colour_ : link_colour_, underline_});
}

void CLinkLabel::Open() {
  const int result = opener_(address_);
  if (result > 32) {
    SetVisitedState(true);
    return;
  }
  SetVisitedState(false);
  UiBackend().WarningBeep();
  const std::string text = std::string(kLinkFailureHeading) + "\n\n" + LinkErrorText(result);
  if (window_) window_->MessageBox(text, kBoxIconWarning);
}

}  // namespace larkspin
