#include "widgets/percent_progress.h"

#include <gtest/gtest.h>

#include "res/control_ids.h"
#include "res/resources.h"
#include "ui/dialog.h"
#include "ui/headless/headless_backend.h"

namespace larkspin {
namespace {

constexpr Colour kBlue = Rgb(0, 0, 255);

TEST(PercentProgressControlTest, StepsAndRangeReachTheControl) {
  CHeadlessBackend backend;
  CScopedUiBackend installed(backend);
  CDialog window(kDialogMain, nullptr);
  ASSERT_TRUE(window.Create());
  CPercentProgress bar;
  bar.Attach(window, kProgressBar);
  bar.SetRange(0, 100);
  bar.SetStep(1);
  bar.StepIt();
  bar.StepIt();
  bar.SetBarColours(kBlue, kBlue);
  bar.SetShowText(true);
  const ProgressBarState shown = backend.WindowOf(window)->Progress(kProgressBar);
  EXPECT_EQ(shown.position, 2);
  EXPECT_EQ(shown, bar.State());
  bar.SetRange(10, 20);
  EXPECT_EQ(backend.WindowOf(window)->Progress(kProgressBar).position, 10);
}

}  // namespace
}  // namespace larkspin
