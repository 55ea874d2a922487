#include "ui/button_paint.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

TEST(ButtonHoverTest, PressingAndReleasingOutsideLeavesTheButtonNeitherHotNorPressed) {
  CButtonHover hover;
  hover.MouseMove(true, false);
  EXPECT_TRUE(hover.Hot());
  hover.LeftDown();
  EXPECT_TRUE(hover.Pressed());
  hover.MouseMove(false, true);
  EXPECT_FALSE(hover.LeftUp(false));
  EXPECT_FALSE(hover.Hot());
  EXPECT_FALSE(hover.Pressed());
  hover.LeftDown();
  EXPECT_TRUE(hover.LeftUp(true)) << "released over the button: a click";
  hover.MouseMove(true, true);
  hover.FocusLost();
  EXPECT_FALSE(hover.Hot());
}

TEST(IconButtonLayoutTest, IconSitsLeftOfTheCaptionAndEverythingSinksWhenPressed) {
  const IconButtonLayout idle = LayOutIconButton({100, 30}, {16, 16}, true, false, false);
  EXPECT_EQ(idle.edge, ButtonEdge::kNone);
  EXPECT_EQ(idle.icon, (Point{3, 7}));
  EXPECT_EQ(idle.caption, (Rect{19, 0, 100, 30}));
  const IconButtonLayout pressed = LayOutIconButton({100, 30}, {16, 16}, true, true, true);
  EXPECT_EQ(pressed.edge, ButtonEdge::kSunken);
  EXPECT_EQ(pressed.icon, (Point{4, 8}));
  EXPECT_EQ(LayOutIconButton({100, 30}, {16, 16}, false, true, false).icon, (Point{42, 7}));
  EXPECT_EQ(LayOutIconButton({100, 30}, {16, 16}, false, true, false).edge, ButtonEdge::kRaised);
}

}  // namespace
}  // namespace larkspin
