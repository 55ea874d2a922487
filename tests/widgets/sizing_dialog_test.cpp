#include "widgets/sizing_dialog.h"

#include <gtest/gtest.h>

#include "res/control_ids.h"
#include "res/resources.h"
#include "support/temp_folder.h"
#include "ui/headless/headless_backend.h"

namespace larkspin {
namespace {

// The message view's template and anchors: Print 2, Close 3, status 6, text 12, list 2, Open 2.
class CAnchoredView : public CSizingDialog {
 public:
  explicit CAnchoredView(const CProfileStore& profile) : CSizingDialog(kDialogFileView, nullptr, profile) {
    AnchorControl(kFileViewPrintButton, 2);
    AnchorControl(kFileViewCloseButton, 3);
    AnchorControl(kFileViewStatusLine, 6);
    AnchorControl(kFileViewText, 12);
    AnchorControl(kFileViewAttachmentSelector, 2);
    AnchorControl(kFileViewOpenButton, 0);  // flags 0: not anchored at all
    AnchorControl(kFileViewOpenButton, 1);
  }
};

class SizingDialogTest : public ::testing::Test {
 protected:
  CHeadlessWindow& Open(CAnchoredView& view) {
    EXPECT_TRUE(view.Create());
    view.ShowWindow(true);
    return *backend.WindowOf(view);
  }

  test_support::TempFolder folder;
  CProfileStore profile{folder.File("profile.ini")};
  CHeadlessBackend backend;
  CScopedUiBackend installed{backend};
};

Rect Moved(Rect rect, int dx, int dy) { return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy}; }

TEST_F(SizingDialogTest, AnchoredControlsFollowTheEdgesOnAResize) {
  CAnchoredView view(profile);
  CHeadlessWindow& window = Open(view);
  const Rect print = view.ItemRect(kFileViewPrintButton), close = view.ItemRect(kFileViewCloseButton);
  const Rect status = view.ItemRect(kFileViewStatusLine);
  const Rect text = view.ItemRect(kFileViewText), open = view.ItemRect(kFileViewOpenButton);
  const Size client = view.ClientSize();

  window.Resize(client.width + 100, client.height + 40);
  EXPECT_EQ(view.ItemRect(kFileViewPrintButton), Moved(print, 0, 40)) << "2: down with the bottom edge";
  EXPECT_EQ(view.ItemRect(kFileViewCloseButton), Moved(close, 100, 40)) << "3: keeps its distance to the corner";
  EXPECT_EQ(view.ItemRect(kFileViewStatusLine),
            (Rect{status.left, status.top + 40, status.right + 100, status.bottom + 40}))
      << "6: down, and stretched to the right";
  EXPECT_EQ(view.ItemRect(kFileViewText), (Rect{text.left, text.top, text.right + 100, text.bottom + 40}))
      << "12: grows both ways";
  EXPECT_EQ(view.ItemRect(kFileViewOpenButton), Moved(open, 100, 0)) << "1: right with the right edge";

  window.Minimize();
  window.Restore();
  EXPECT_EQ(view.ItemRect(kFileViewCloseButton), Moved(close, 100, 40)) << "minimising and restoring moves nothing";
  view.DestroyWindow();
}

TEST_F(SizingDialogTest, TheWindowCannotShrinkBelowItsCreationSize) {
  CAnchoredView view(profile);
  CHeadlessWindow& window = Open(view);
  const Size created = view.ClientSize();
  window.Resize(100, 100);
  EXPECT_EQ(view.ClientSize(), created);
  view.DestroyWindow();
}

TEST_F(SizingDialogTest, GeometryIsSavedOnlyAfterASizeChangeAndRestoredNextTime) {
  {
    CAnchoredView moved_only(profile);
    Open(moved_only);
    moved_only.MoveWindow(Moved(moved_only.WindowRect(), 30, 30));
    moved_only.DestroyWindow();
  }
  EXPECT_EQ(profile.GetInt("2775", "CX", 0), 0) << "a window that was only moved saves nothing";

  Rect resized_rect;
  {
    CAnchoredView view(profile);
    CHeadlessWindow& window = Open(view);
    window.Resize(900, 600);
    view.MoveWindow(Moved(view.WindowRect(), 12, 34));
    resized_rect = view.WindowRect();
    view.DestroyWindow();
  }
  EXPECT_EQ(profile.GetInt("2775", "CX", 0), 900);
  EXPECT_EQ(profile.GetInt("2775", "CY", 0), 600);
  EXPECT_EQ(profile.GetInt("2775", "X", 0), 12);
  EXPECT_EQ(profile.GetInt("2775", "Y", 0), 34);

  CAnchoredView next_run(profile);
  Open(next_run);
  EXPECT_EQ(next_run.WindowRect(), resized_rect);
  next_run.DestroyWindow();
}

TEST_F(SizingDialogTest, AWidthWithoutAHeightRestoresNothing) {
  profile.WriteInt("2775", "CX", 900);
  profile.WriteInt("2775", "CY", 0);
  CAnchoredView view(profile);
  Open(view);
  EXPECT_EQ(view.ClientSize(), (Size{808, 529}));
  view.DestroyWindow();
}

TEST_F(SizingDialogTest, SavingForgetsTheSizeSoTheNextChangeOnlyRecords) {
  CAnchoredView view(profile);
  CHeadlessWindow& window = Open(view);
  const Rect close = view.ItemRect(kFileViewCloseButton);
  window.Resize(900, 600);
  view.SaveGeometry();
  EXPECT_EQ(window.MinimumSize(), (Size{0, 0}));
  const Rect after_first = view.ItemRect(kFileViewCloseButton);
  window.Resize(950, 650);
  EXPECT_EQ(view.ItemRect(kFileViewCloseButton), after_first) << "the first change after saving only records the size";
  window.Resize(960, 650);
  EXPECT_EQ(view.ItemRect(kFileViewCloseButton), Moved(after_first, 10, 0));
  EXPECT_NE(after_first, close);
  view.DestroyWindow();
}

TEST_F(SizingDialogTest, SectionNamesAreTheTemplateIdInLowerCaseHex) {
  EXPECT_EQ(CSizingDialog(kDialogMain, nullptr, profile).GeometrySectionName(), "66");
  EXPECT_EQ(CSizingDialog(kDialogSend, nullptr, profile).GeometrySectionName(), "8e");
  EXPECT_EQ(CSizingDialog(kDialogFileView, nullptr, profile).GeometrySectionName(), "2775");
  EXPECT_EQ(CSizingDialog(kDialogAbout, nullptr, profile).GeometrySectionName(), "64");
}

}  // namespace
}  // namespace larkspin
