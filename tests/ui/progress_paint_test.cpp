#include "ui/progress_paint.h"

#include <gtest/gtest.h>

namespace larkspin {
namespace {

constexpr Colour kBlue = Rgb(0, 0, 255);

ProgressBarState MainWindowBar(int position) {
  ProgressBarState state;
  state.start_colour = kBlue;
  state.end_colour = kBlue;
  state.show_text = true;
  state.position = position;
  return state;
}

TEST(PercentProgressPaintTest, EmptyAtTheLowerBoundWithoutText) {
  const ProgressPaint paint = PaintPercentProgress(MainWindowBar(0), 368);
  EXPECT_TRUE(paint.bands.empty());
  EXPECT_EQ(paint.background_from, 0);
  EXPECT_EQ(paint.text, "");
}

TEST(PercentProgressPaintTest, FullAtTheUpperBoundWithTheHundredPercentText) {
  const ProgressPaint paint = PaintPercentProgress(MainWindowBar(100), 368);
  ASSERT_EQ(paint.bands.size(), 255u) << "one colour: as many bands as its largest component";
  EXPECT_EQ(paint.bands.back().right, 368);
  EXPECT_EQ(paint.background_from, 368);
  EXPECT_EQ(paint.text, "100%");
  EXPECT_EQ(PaintPercentProgress(MainWindowBar(101), 368).bands.size(), 0u) << "beyond the range: empty";
}

TEST(PercentProgressPaintTest, HalfWayEndsAtTheFirstBandEdgeBeyondHalfTheWidth) {
  const ProgressPaint paint = PaintPercentProgress(MainWindowBar(50), 368);
  EXPECT_EQ(paint.text, "50%");
  ASSERT_FALSE(paint.bands.empty());
  const ProgressBand& last = paint.bands.back();
  EXPECT_GT(last.right, 184);
  EXPECT_LE(paint.bands[paint.bands.size() - 2].right, 184);
  EXPECT_EQ(paint.background_from, last.right);
}

TEST(PercentProgressPaintTest, BandsBlendFromStartToEndColour) {
  ProgressBarState state;  // red to blue: 255 bands
  state.position = 100;
  const ProgressPaint paint = PaintPercentProgress(state, 510);
  ASSERT_EQ(paint.bands.size(), 255u);
  EXPECT_EQ(paint.bands[0], (ProgressBand{0, 2, Rgb(255, 0, 0)}));
  EXPECT_EQ(paint.bands[1], (ProgressBand{2, 4, Rgb(254, 0, 1)}));
  EXPECT_EQ(paint.bands[254].colour, Rgb(1, 0, 254));
  state.start_colour = state.end_colour = Rgb(0, 0, 0);
  EXPECT_EQ(PaintPercentProgress(state, 510).bands.size(), 255u) << "black still gets 255 bands";
}

}  // namespace
}  // namespace larkspin
