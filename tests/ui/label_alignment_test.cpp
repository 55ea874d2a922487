// Which labels move beside which fields, on rows shaped like the compose window's.
#include "ui/label_alignment.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

PlacedControl Label(int id, Rect rect, unsigned style = kStyleNone) { return {id, ControlKind::kStatic, style, rect}; }
PlacedControl Field(int id, Rect rect, ControlKind kind = ControlKind::kEdit, unsigned style = kStyleNone) {
  return {id, kind, style, rect};
}

TEST(LabelAlignmentTest, OneLineLabelsMoveToTheMiddleOfTheNearestFieldOnTheirRight) {
  struct Case {
    const char* what;
    std::vector<PlacedControl> controls;
    std::map<int, int> tops;
  };
  const Rect label{14, 72, 80, 88};  // 16 high, 8 below the top of the 30-high field beside it
  const Rect field{88, 64, 700, 94};
  for (const Case& test : std::vector<Case>{
           {"a label before an edit", {Label(1, label), Field(2, field)}, {{1, 71}}},
           {"a label before a drop-down", {Label(1, label), Field(2, field, ControlKind::kDropDownList)}, {{1, 71}}},
           {"the nearer of two fields",
            {Label(1, label), Field(3, {400, 60, 700, 100}), Field(2, {88, 64, 300, 94})},
            {{1, 71}}},
           {"a field beyond the gap", {Label(1, label), Field(2, {120, 64, 700, 94})}, {}},
           {"a field on another row", {Label(1, label), Field(2, {88, 100, 700, 130})}, {}},
           {"a field left of the label", {Label(1, {300, 72, 340, 88}), Field(2, field)}, {}},
           {"a multi-line edit", {Label(1, label), Field(2, field, ControlKind::kEdit, kStyleMultiLine)}, {}},
           {"a button", {Label(1, label), Field(2, field, ControlKind::kPushButton)}, {}},
           {"a sunken status text", {Label(1, label, kStyleSunken), Field(2, field)}, {}},
           {"a label taller than the field", {Label(1, {14, 60, 80, 100}), Field(2, field)}, {}},
       }) {
    EXPECT_EQ(LabelTopsBesideFields(test.controls, 20), test.tops) << test.what;
  }
}

}  // namespace
}  // namespace larkspin
