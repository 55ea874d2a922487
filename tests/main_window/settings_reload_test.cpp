// Settings that change while the window is open: config.ini edited by hand (seen by the settings
// timer, or read on Edit > Reload settings), and the English texts installed with the program.
#include <gmock/gmock.h>

#include "main_window/main_window_fixture.h"
#include "res/resources.h"

namespace larkspin::test_support {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::string> AccountEntries(CHeadlessWindow& window) { return window.Control(kAccountSelector)->entries; }

class SettingsReloadTest : public MainWindowTest {
 protected:
  void OpenWithOneAccount() {
    WriteConfig("PeekTime=0\r\n", {"Home"}, AccountSection(1, 110));
    ASSERT_TRUE(Open());
  }
  void EditByHand() {
    WriteConfig("PeekTime=3\r\nMailThreshold=7\r\n", {"House", "Work"},
                AccountSection(1, 110) + AccountSection(2, 111));
  }
};

TEST_F(SettingsReloadTest, AnEditedConfigIniTakesEffectAtTheNextLookOfTheTimer) {
  OpenWithOneAccount();
  ASSERT_TRUE(Window().IsTimerRunning(kSettingsTimer));
  ASSERT_TRUE(Window().FireTimer(kSettingsTimer));
  EXPECT_EQ(Status(), "Home") << "nothing changed, nothing read";

  EditByHand();
  ASSERT_TRUE(Window().FireTimer(kSettingsTimer));
  EXPECT_THAT(AccountEntries(Window()), ElementsAre("House", "Work", "All Accounts"));
  EXPECT_EQ(Window().Title(), "Larkspin-House");
  EXPECT_EQ(Status(), "Settings read again from config.ini.");
  EXPECT_TRUE(Window().IsTimerRunning(kCountdownTimer)) << "PeekTime=3 starts the countdown";
  EXPECT_EQ(Dialog().MinutesLeft(), 3);
  EXPECT_EQ(Dialog().Account().login, "anna") << "the selected account keeps its credentials";
  EXPECT_THAT(backend_.ModalRuns(), IsEmpty()) << "no question asked";
}

TEST_F(SettingsReloadTest, ReloadSettingsReadsAtOnceAndAnAccountThatWentSelectsTheFirst) {
  WriteConfig("PeekTime=0\r\n", {"Home", "Work"}, AccountSection(1, 110) + AccountSection(2, 111));
  ASSERT_TRUE(Open());
  ASSERT_TRUE(Window().ChooseEntry(kAccountSelector, 1));
  EXPECT_EQ(Dialog().Account().pop3_port, 111);

  WriteConfig("PeekTime=0\r\n", {"Home", "Work"}, AccountSection(1, 110) + AccountSection(2, 2110));
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandReloadSettings));
  EXPECT_EQ(Dialog().Account().pop3_port, 2110) << "the selected account's settings are read again";
  EXPECT_EQ(Window().Control(kAccountSelector)->selection, 1);

  WriteConfig("PeekTime=0\r\n", {"Home"}, AccountSection(1, 110));
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandReloadSettings));
  EXPECT_THAT(AccountEntries(Window()), ElementsAre("Home", "All Accounts"));
  EXPECT_EQ(Window().Title(), "Larkspin-Home");
  EXPECT_FALSE(Window().IsTimerRunning(kCountdownTimer));
}

TEST_F(SettingsReloadTest, TheInstalledEnglishTextsLeaveNoCaptionWithoutAText) {
  WriteFile(folder_.File("language.ini"), ReadFile(LARKSPIN_ENGLISH_TEXTS));
  OpenWithOneAccount();
  const DialogTemplate* layout = FindDialogTemplate(kDialogMain);
  for (const ControlTemplate& control : layout->controls) {
    EXPECT_NE(Window().Text(control.id), "n/a") << control.id;
    EXPECT_NE(Window().Control(control.id)->tool_tip, "n/a") << control.id;
  }
  for (const ListColumn& column : Window().List(kHeaderList)->Columns()) EXPECT_NE(column.title, "n/a");
}

}  // namespace
}  // namespace larkspin::test_support
