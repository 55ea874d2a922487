#pragma once
// The flat push button of every dialog: an optional icon left of the caption, a raised edge while
// the mouse is over it, a sunken one while pressed, and an optional tool tip. CIconButton sets
// a button up through the window; the backend paints it as ui/button_paint.h lays it out.
#include <string>

namespace larkspin {

class CDialog;

class CIconButton {
 public:
  void Attach(CDialog& window, int control_id);
  // Icons by resource id; normal_icon 0 uses the hot icon for both.
  void SetIcon(int hot_icon, int normal_icon = 0);
  // Text empty: nothing happens. Otherwise the tip gets the text and is shown only when active.
  void SetTipText(const std::string& text, bool activate = true);

 private:
  CDialog* window_ = nullptr;
  int control_id_ = 0;
};

}  // namespace larkspin
