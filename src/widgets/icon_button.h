#pragma once
// The flat push button of every dialog: an optional icon left of the caption, a raised edge while
// the mouse is over it, a sunken one while pressed, and an optional tool tip. CIconButton sets
// a button up through the window; CButtonHover and LayOutIconButton are what the backend's
// painter follows.
#include <string>

#include "ui/geometry.h"

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

// Hover and press tracking of one button.
class CButtonHover {
 public:
  // The mouse moved; inside says whether it is over the button.
  void MouseMove(bool inside, bool left_button_held);
  void LeftDown();
  // Answers whether this release is a click (pressed and released over the button).
  bool LeftUp(bool inside);
  void FocusLost();
  // Another window took the mouse (a menu, a box): a press held so far can no longer be a click.
  void CaptureLost() { pressed_ = false; }

  bool Hot() const { return hot_; }
  bool Pressed() const { return pressed_; }

 private:
  bool hot_ = false;
  bool pressed_ = false;
};

enum class ButtonEdge { kNone, kRaised, kSunken };

struct IconButtonLayout {
  ButtonEdge edge = ButtonEdge::kNone;
  bool hot_look = false;  // hot icon, hot colours
  Point icon;             // top left of the icon
  Rect caption;           // the area the caption is centred in
};

IconButtonLayout LayOutIconButton(Size button, Size icon, bool has_caption, bool hot, bool pressed);

// Where the dotted mark of the keyboard focus is drawn: inside the edge, clear of it.
Rect FocusMarkRect(Size button);

}  // namespace larkspin
