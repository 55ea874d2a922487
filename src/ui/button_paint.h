#pragma once
// How a backend paints the flat icon button: the hover and press state it tracks, where the icon
// and the caption go, and the edge it draws.
#include "ui/geometry.h"

namespace larkspin {

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
