#include "ui/label_alignment.h"

#include <algorithm>

namespace larkspin {

namespace {
bool IsPlainLabel(const PlacedControl& control) {
  return control.kind == ControlKind::kStatic && (control.style & (kStyleSunken | kStyleNotify)) == 0;
}

bool IsOneLineField(const PlacedControl& control) {
  return control.kind == ControlKind::kDropDownList ||
         (control.kind == ControlKind::kEdit && (control.style & kStyleMultiLine) == 0);
}

bool RowsOverlap(const Rect& a, const Rect& b) { return a.top < b.bottom && b.top < a.bottom; }

// The field a label stands before, or nullptr.
const PlacedControl* FieldOfLabel(const PlacedControl& label, const std::vector<PlacedControl>& controls,
                                  int max_gap) {
  const PlacedControl* nearest = nullptr;
  for (const PlacedControl& field : controls) {
    if (!IsOneLineField(field) || !RowsOverlap(label.rect, field.rect)) continue;
    if (label.rect.Height() > field.rect.Height()) continue;
    const int gap = field.rect.left - label.rect.right;
    if (gap < -label.rect.Width() / 4 || gap > max_gap) continue;
    if (!nearest || field.rect.left < nearest->rect.left) nearest = &field;
  }
  return nearest;
}
}  // namespace

std::map<int, int> LabelTopsBesideFields(const std::vector<PlacedControl>& controls, int max_gap) {
  std::map<int, int> tops;
  for (const PlacedControl& label : controls) {
    if (!IsPlainLabel(label)) continue;
    if (const PlacedControl* field = FieldOfLabel(label, controls, max_gap))
      tops[label.id] = field->rect.top + (field->rect.Height() - label.rect.Height()) / 2;
  }
  return tops;
}

}  // namespace larkspin
