// The main menu from its template, addressed by command id and by top-level position, and
// pop-up menus answered through the headless backend.
#include <gtest/gtest.h>

#include "res/control_ids.h"
#include "res/resources.h"
#include "ui/dialog.h"
#include "ui/headless/headless_backend.h"

namespace larkspin {
namespace {

class CMenuProbe : public CDialog {
 public:
  CMenuProbe() : CDialog(kDialogMain, nullptr) {
    Commands().OnCommandRange(101, 109, [this](int id) { chosen.push_back(id); });
    Commands().OnCommand(kCommandLockScreen,
                         [this] { CheckMenuItem(kCommandLockScreen, !IsMenuItemChecked(kCommandLockScreen)); });
  }
  std::vector<int> chosen;

 protected:
  bool OnInitDialog() override {
    SetMenu(kMenuMain);
    return true;
  }
};

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.Create());
    window.ShowWindow(true);
    peer = backend.WindowOf(window);
  }
  void TearDown() override { window.DestroyWindow(); }

  CHeadlessBackend backend;
  CScopedUiBackend installed{backend};
  CMenuProbe window;
  CHeadlessWindow* peer = nullptr;
};

TEST_F(MenuTest, ItemsAreFoundByIdAnywhereAndTopLevelByPosition) {
  EXPECT_EQ(window.TopMenuText(5), "&Help");
  EXPECT_EQ(window.TopMenuText(6), "");
  window.SetTopMenuText(5, "Hilfe");
  EXPECT_EQ(window.TopMenuText(5), "Hilfe");
  EXPECT_EQ(window.MenuItemText(kCommandInfo), "&Info") << "the submenu stays under the renamed item";

  EXPECT_TRUE(window.IsMenuItemChecked(kCommandOnline)) << "Online is the view at start";
  window.SetMenuItemText(kCommandSent, "Sent");
  window.CheckMenuItem(kCommandSent, true);
  window.CheckMenuItem(kCommandOnline, false);
  EXPECT_TRUE(window.IsMenuItemChecked(kCommandSent));
  EXPECT_EQ(window.MenuItemText(kCommandSent), "Sent");
  EXPECT_FALSE(window.IsMenuItemChecked(kCommandOnline));
}

TEST_F(MenuTest, ChoosingAnItemDispatchesItsCommandUnlessGreyed) {
  EXPECT_TRUE(peer->ChooseMenuItem(kCommandLockScreen));
  EXPECT_TRUE(window.IsMenuItemChecked(kCommandLockScreen));
  window.EnableMenuItem(kCommandLockScreen, false);
  EXPECT_FALSE(peer->ChooseMenuItem(kCommandLockScreen));
  EXPECT_TRUE(window.IsMenuItemChecked(kCommandLockScreen));
  EXPECT_FALSE(peer->ChooseMenuItem(4711));
}

TEST_F(MenuTest, PopupMenusRecordTheirItemsAndDispatchTheChoice) {
  CMenu popup;
  popup.AppendItem(102, "Reset mail");
  popup.AppendItem(101, "Mark for deletion", false);
  popup.AppendSeparator();
  popup.AppendItem(109, "Add to Sender to Address Book");

  backend.QueuePopupChoice(109);
  backend.QueuePopupChoice(101);
  window.TrackPopupMenu(popup, {40, 50});
  window.TrackPopupMenu(popup, {40, 50});
  window.TrackPopupMenu(popup, {40, 50});
  EXPECT_EQ(window.chosen, std::vector<int>{109}) << "a greyed item cannot be chosen; no answer closes the menu";

  ASSERT_EQ(backend.PopupMenus().size(), 3u);
  const ShownPopupMenu& first = backend.PopupMenus()[0];
  EXPECT_EQ(first.screen_point, (Point{40, 50}));
  EXPECT_EQ(first.chosen, 109);
  EXPECT_EQ(first.menu.Items().size(), 4u);
  EXPECT_FALSE(first.menu.FindCommand(101)->enabled);
  EXPECT_EQ(backend.PopupMenus()[1].chosen, 0);
}

}  // namespace
}  // namespace larkspin
