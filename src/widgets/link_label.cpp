#include "widgets/link_label.h"

#include "common/format.h"
#include "common/message_box.h"
#include "ui/backend.h"
#include "ui/dialog.h"
#include "platform/shell_open.h"

namespace larkspin {

CLinkLabel::CLinkLabel() : opener_(OpenWithShell) {}

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
  const std::string text = "Unable to open hyperlink:\n\n" + LinkErrorText(result);
  if (window_) window_->MessageBox(text, kBoxIconWarning);
}

std::string LinkErrorText(int result) {
  switch (result) {
    case 0: return "The operating system is out\nof memory or resources.";
    case 2: return "The specified file was not found.";
    case 3: return "The specified path was not found.";
    case 5: return "The operating system denied\naccess to the specified file.";
    case 8: return "There was not enough memory to complete the operation.";
    case 11: return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case 26: return "A sharing violation occurred. ";
    case 27: return "The filename association is\nincomplete or invalid.";
    case 28: return "The DDE transaction could not\nbe completed because the request timed out.";
    case 29: return "The DDE transaction failed.";
    case 30: return "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
    case 31: return "There is no application associated\nwith the given filename extension.";
    case 32: return "The specified dynamic-link library was not found.";
    default: return FormatText("Unknown Error (%d) occurred.", result);
  }
}

}  // namespace larkspin
