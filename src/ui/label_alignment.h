#pragma once
// Labels beside their fields. A toolkit's fields are taller than the line of text a label holds,
// so a label placed at its field's top edge reads below the field's text: each one-line label is
// moved to share its field's middle.
#include <map>
#include <vector>

#include "res/resource_types.h"
#include "ui/geometry.h"

namespace larkspin {

struct PlacedControl {
  int id = 0;
  ControlKind kind = ControlKind::kStatic;
  unsigned style = kStyleNone;
  Rect rect;  // as the toolkit made it, in pixels
};

// The new top of every label that labels a field: a plain static text (not sunken, not a link)
// no taller than the field, whose rows overlap the field's, with the field's left edge at most
// max_gap pixels right of the label's right edge; a one-line edit or a drop-down, the nearest
// such one. Labels without a field are not in the map.
std::map<int, int> LabelTopsBesideFields(const std::vector<PlacedControl>& controls, int max_gap);

}  // namespace larkspin
