#include "ui/button_paint.h"

namespace larkspin {

namespace {
constexpr int kIconMargin = 3;
constexpr int kFocusMarkInset = 2;
}

void CButtonHover::MouseMove(bool inside, bool left_button_held) {
  if (left_button_held && !hot_ && !pressed_) return;
  if (inside) {
    hot_ = true;
  } else {
    hot_ = false;
    if (!left_button_held) pressed_ = false;
  }
}

void CButtonHover::LeftDown() {
  hot_ = true;
  pressed_ = true;
}

bool CButtonHover::LeftUp(bool inside) {
  const bool click = pressed_ && inside;
  pressed_ = false;
  hot_ = inside;
  return click;
}

void CButtonHover::FocusLost() {
  hot_ = false;
  pressed_ = false;
}

IconButtonLayout LayOutIconButton(Size button, Size icon, bool has_caption, bool hot, bool pressed) {
  IconButtonLayout layout;
  layout.edge = pressed ? ButtonEdge::kSunken : (hot ? ButtonEdge::kRaised : ButtonEdge::kNone);
  layout.hot_look = hot || pressed;
  const int shift = pressed ? 1 : 0;
  layout.caption = {shift, shift, button.width + shift, button.height + shift};
  if (icon.width == 0) return layout;
  if (has_caption) {
    layout.icon = {kIconMargin + shift, (button.height - icon.height) / 2 + shift};
    layout.caption.left = icon.width + kIconMargin + shift;
  } else {
    layout.icon = {(button.width - icon.width) / 2 + shift, (button.height - icon.height) / 2 + shift};
  }
  return layout;
}

Rect FocusMarkRect(Size button) {
  return {kFocusMarkInset, kFocusMarkInset, button.width - kFocusMarkInset, button.height - kFocusMarkInset};
}

}  // namespace larkspin
