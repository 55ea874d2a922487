#include "widgets/link_label.h"

#include <gtest/gtest.h>

#include "res/control_ids.h"
#include "res/resources.h"
#include "ui/dialog.h"
#include "ui/headless/headless_backend.h"
#include "widgets/desktop_open.h"

namespace larkspin {
namespace {


class LinkLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(about.Create());
    about.ShowWindow(true);
    link.SetOpener([this](const std::string& address) {
      opened.push_back(address);
      return result;
    });
  }
  void TearDown() override { about.DestroyWindow(); }

  CHeadlessBackend backend;
  CScopedUiBackend installed{backend};
  CDialog about{kDialogAbout, nullptr};
  CLinkLabel link;
  std::vector<std::string> opened;
  int result = 42;
};

TEST_F(LinkLabelTest, AClickOpensTheAddressAndMarksTheLinkVisited) {
  link.SetLinkAddress(kProductWebAddress);
  link.Attach(about, kAboutWebLink);
  const HeadlessControl& control = *backend.WindowOf(about)->Control(kAboutWebLink);
  EXPECT_EQ(control.text, kProductWebAddress) << "an empty label shows its address";
  EXPECT_EQ(control.tool_tip, kProductWebAddress);
  EXPECT_EQ(control.link, (LinkLook{Rgb(0, 0, 238), true}));
  EXPECT_TRUE(backend.WindowOf(about)->Click(kAboutWebLink));
  EXPECT_EQ(opened, std::vector<std::string>{kProductWebAddress});
  EXPECT_TRUE(link.Visited());
  EXPECT_EQ(control.link.colour, Rgb(85, 26, 139));
}

TEST_F(LinkLabelTest, TheLabelIsFittedToItsTextFromItsTopLeftCorner) {
  about.SetItemText(kAboutWebLink, "https://example.org/a");
  const Rect before = about.ItemRect(kAboutWebLink);
  link.Attach(about, kAboutWebLink);
  const Size text = about.TextSize(kAboutWebLink, "https://example.org/a");
  EXPECT_EQ(about.ItemRect(kAboutWebLink), (Rect{before.left, before.top, before.left + text.width,
                                                 before.top + text.height}));
  EXPECT_LT(text.width, before.Width());
}

TEST_F(LinkLabelTest, AFailedOpenBeepsShowsTheShellErrorAndStaysUnvisited) {
  about.SetItemText(kAboutWebLink, "https://example.org/a");
  link.Attach(about, kAboutWebLink);
  EXPECT_EQ(link.Address(), "https://example.org/a") << "an empty address comes from the label";
  link.SetVisitedState(true);
  result = 31;
  link.Open();
  EXPECT_FALSE(link.Visited());
  EXPECT_EQ(backend.Beeps(), 1);
  ASSERT_EQ(backend.MessageBoxes().size(), 1u);
  EXPECT_EQ(backend.MessageBoxes()[0].text,
            "Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.");
}

TEST(LinkErrorTextTest, KnownResultsHaveTheirTextsAndOthersTheirNumber) {
  EXPECT_EQ(LinkErrorText(0), "The operating system is out\nof memory or resources.");
  EXPECT_EQ(LinkErrorText(26), "A sharing violation occurred. ");
  EXPECT_EQ(LinkErrorText(32), "The specified dynamic-link library was not found.");
  EXPECT_EQ(LinkErrorText(33), "Unknown Error (33) occurred.");
  EXPECT_EQ(LinkErrorText(-1), "Unknown Error (-1) occurred.");
}

}  // namespace
}  // namespace larkspin
