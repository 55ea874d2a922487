#include "widgets/icon_button.h"

#include "ui/dialog.h"

namespace larkspin {

void CIconButton::Attach(CDialog& window, int control_id) {
  window_ = &window;
  control_id_ = control_id;
}

void CIconButton::SetIcon(int hot_icon, int normal_icon) {
  if (window_) window_->SetButtonIcons(control_id_, normal_icon != 0 ? normal_icon : hot_icon, hot_icon);
}

void CIconButton::SetTipText(const std::string& text, bool activate) {
  if (text.empty() || !window_) return;
  window_->SetToolTip(control_id_, activate ? text : std::string());
}

}  // namespace larkspin
