// The main window's start and end: texts from language.ini, the first-use greeting, the program
// password, what is remembered in the profile, the screen lock and the Account menu commands.
#include <gmock/gmock.h>

#include "common/message_box.h"
#include "common/scramble.h"
#include "main_window/main_window_fixture.h"
#include "res/resources.h"
#include "support/fake_pop3_server.h"

namespace larkspin::test_support {
namespace {

using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

class StartupTest : public MainWindowTest {
 protected:
  StartupTest() { WriteConfig("PeekTime=0\r\n", {"Home"}, AccountSection(1, 1)); }
  static void TypePassword(CHeadlessWindow& input, const std::string& password) {
    EXPECT_EQ(input.Title(), "Larkspin password");
    input.Type(kInputField, password);
    input.Click(kIdOk);
  }
  void StorePassword(std::string password) {
    ScrambleText(password);
    Profile().WriteString(kMainWindowSection, "pw", password);
  }
};

TEST_F(StartupTest, WithoutLanguageFileButtonsShowNaAndEverythingElseItsDefault) {
  ASSERT_TRUE(Open());
  EXPECT_EQ(Window().Text(kConnectButton), "n/a");
  EXPECT_EQ(Window().Control(kForwardButton)->tool_tip, "n/a");
  EXPECT_EQ(Window().Control(kConnectButton)->normal_icon, kIconConnect);
  EXPECT_EQ(Window().Control(kCloseButton)->normal_icon, 0);
  ASSERT_EQ(Window().List(kHeaderList)->Columns().size(), 6u);
  EXPECT_EQ(Window().List(kHeaderList)->Columns()[0].title, "n/a");
  EXPECT_EQ(Window().List(kHeaderList)->Columns()[4].align, kAlignRight);
  EXPECT_EQ(Window().List(kHeaderList)->Columns()[5].title, "Signals");  // newer than any language.ini
  EXPECT_EQ(Window().Text(kFolderLabel), "Folder:");
  EXPECT_EQ(Window().Text(kAccountLabel), "Active Account:");
  EXPECT_EQ(Window().Menu().FindCommand(kCommandUnlockAccount)->text, "Unlock account");
  EXPECT_EQ(Window().Menu().FindCommand(kCommandDownloadAll)->text, "Dowload all messages");
  EXPECT_EQ(Window().Menu().TopLevel(0)->text, "Larkspin");
  EXPECT_EQ(Window().Control(kFolderSelector)->entries, (std::vector<std::string>{"Online", "Offline", "Sent", "Drafts", "Deleted"}));
  EXPECT_EQ(Window().Control(kFolderSelector)->selection, 0);
  EXPECT_EQ(Window().Title(), "Larkspin-Home");
  EXPECT_EQ(Window().Progress(kProgressBar).start_colour, Rgb(0, 0, 255));
  EXPECT_TRUE(Window().Progress(kProgressBar).show_text);
  EXPECT_THAT(LogText(), HasSubstr("+ + + Larkspin, Version 0.97 (5.28.19) started + + +"));
}

// The original's pixel widths grow as the dialog units do: 2 pixels per unit here against 1.5;
// the Date column is as wide as a whole date with its blanks (27 characters) and a margin.
TEST_F(StartupTest, DefaultColumnWidthsGrowWithTheFontAndTheDateFits) {
  ASSERT_TRUE(Open());
  std::vector<int> widths;
  for (const ListColumn& column : Window().List(kHeaderList)->Columns()) widths.push_back(column.width);
  EXPECT_EQ(widths, (std::vector<int>{200, 240, 27 * 8 + 12, 107, 67, 147}));
}

TEST_F(StartupTest, FolderAndAccountLabelsShowAtMostThirtyCharacters) {
  WriteFile(folder_.File("language.ini"), "[Labels]\r\nFolder=123456789012345678901234567890XYZ\r\n"
                                          "ActiveAccount=Konto\r\n");
  ASSERT_TRUE(Open());
  EXPECT_EQ(Window().Text(kFolderLabel), "123456789012345678901234567890");
  EXPECT_EQ(Window().Text(kAccountLabel), "Konto");
}

TEST_F(StartupTest, TheAboutBoxRemembersItsSizeInASectionOfItsOwn) {
  ASSERT_TRUE(Open());
  for (const int width : {600, 640}) {
    backend_.QueueModalScript([width](CHeadlessWindow& about) {
      about.Resize(width, 300);
      about.PressEscape();
    });
    ASSERT_TRUE(Window().ChooseMenuItem(kCommandInfo));
    EXPECT_EQ(Profile().GetInt("64", "CX", 0), width);
  }
  backend_.QueueModalScript([](CHeadlessWindow& about) {
    EXPECT_EQ(about.ClientSize(), (Size{640, 300}));
    about.PressEscape();
  });
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandInfo));
}

TEST_F(StartupTest, LanguageFileReplacesTextsButNotMismatchedPlaceholders) {
  WriteFile(folder_.File("language.ini"),
            "[Buttons]\r\nConnect=&Verbinden\r\n[Tooltips]\r\nConnect=Postfach abrufen\r\n[Headers]\r\nFrom=Von\r\n"
            "[Menu]\r\nHelp=Hilfe\r\nLockScreen=Sperren\r\n[Labels]\r\nFolder=Ordner:\r\n"
            "[Messages]\r\nPeeking=Noch %s Minuten\r\n");
  WriteConfig("PeekTime=2\r\n", {"Home"}, AccountSection(1, 1));
  ASSERT_TRUE(Open());
  EXPECT_EQ(Window().Text(kConnectButton), "&Verbinden");
  EXPECT_EQ(Window().Control(kConnectButton)->tool_tip, "Postfach abrufen");
  EXPECT_EQ(Window().List(kHeaderList)->Columns()[0].title, "Von");
  EXPECT_EQ(Window().Text(kFolderLabel), "Ordner:");
  const MenuItem* help = Window().Menu().TopLevel(5);
  EXPECT_EQ(help->text, "Hilfe");
  ASSERT_EQ(help->children.size(), 1u);
  EXPECT_EQ(help->children[0].id, kCommandInfo);
  EXPECT_EQ(Window().Menu().FindCommand(kCommandLockScreen)->text, "Sperren");
  // "%s" where the program passes numbers: the built-in text is used instead.
  ASSERT_TRUE(Window().FireTimer(kCountdownTimer));
  EXPECT_EQ(Status(), "Ready: 1 min. until 1. larkspin");
}

TEST_F(StartupTest, GreetingOncePerVersionInTheFilesLanguage) {
  Profile().WriteString(kMainWindowSection, "info", "Larkspin, Version 0.96");
  WriteFile(folder_.File("language.ini"), "[System]\r\nLanguage=de\r\n");
  ASSERT_TRUE(Open());
  ASSERT_EQ(backend_.MessageBoxes().size(), 1u);
  EXPECT_EQ(backend_.MessageBoxes()[0].text, LoadResourceString(kStringGreetingGerman));
  EXPECT_EQ(Profile().GetString(kMainWindowSection, "info", ""), LoadResourceString(kStringVersion));
  Close();

  ASSERT_TRUE(Open());
  EXPECT_EQ(backend_.MessageBoxes().size(), 1u);
  Close();

  Profile().WriteString(kMainWindowSection, "info", "");
  WriteFile(folder_.File("language.ini"), "[System]\r\nLanguage=fr\r\n");
  ASSERT_TRUE(Open());
  EXPECT_EQ(backend_.MessageBoxes().back().text, LoadResourceString(kStringGreetingEnglish));
}

TEST_F(StartupTest, FirstStartAsksForAPasswordAndCancelChoosesNone) {
  WriteFile(profile_path_, "[66]\r\ninfo=" + LoadResourceString(kStringVersion) + "\r\n");
  ASSERT_TRUE(Open());  // the unscripted prompt is cancelled
  EXPECT_EQ(backend_.ModalRuns(), std::vector<int>{kDialogInput});
  EXPECT_EQ(Profile().GetString(kMainWindowSection, "pw", "null"), "");
  Close();
  ASSERT_TRUE(Open());
  EXPECT_EQ(backend_.ModalRuns().size(), 1u);  // no prompt any more
}

TEST_F(StartupTest, WrongPasswordEndsTheProgramWithoutCleanUp) {
  StorePassword("Secret");
  backend_.QueueModalScript([](CHeadlessWindow& input) { TypePassword(input, "secret"); });
  EXPECT_FALSE(Open());
  EXPECT_EQ(process_ends_, 1);
  EXPECT_THAT(MessageBoxTexts(), ElementsAre("The password you have entered is incorrect."));
  Close();
  EXPECT_THAT(LogText(), Not(HasSubstr("closed")));
  EXPECT_EQ(Profile().GetInt(kMainWindowSection, "Col_WHO", -1), -1);

  process_ends_ = 0;
  backend_.QueueModalScript([](CHeadlessWindow& input) { TypePassword(input, "Secret"); });
  EXPECT_TRUE(Open());
}

TEST_F(StartupTest, ShutdownRemembersColumnsAndAccountAndLogsTheEnd) {
  WriteConfig("PeekTime=0\r\n", {"Home", "Work"}, AccountSection(1, 1) + AccountSection(2, 1));
  Profile().WriteInt(kMainWindowSection, "Col_SUBJECT", 222);
  Profile().WriteInt(kMainWindowSection, "account", 1);
  ASSERT_TRUE(Open());
  EXPECT_EQ(Window().List(kHeaderList)->Columns()[1].width, 222);
  EXPECT_EQ(Window().Title(), "Larkspin-Work");
  Window().List(kHeaderList)->SetColumnWidth(0, 99);
  ASSERT_TRUE(Window().ChooseEntry(kAccountSelector, 0));
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandExit));
  EXPECT_TRUE(Window().HasEnded());
  Close();
  EXPECT_EQ(Profile().GetInt(kMainWindowSection, "Col_WHO", 0), 99);
  EXPECT_EQ(Profile().GetInt(kMainWindowSection, "account", -1), 0);
  EXPECT_THAT(LogText(), HasSubstr("- - - Larkspin closed - - -"));
}

TEST_F(StartupTest, ScreenLockLocksWithoutAskingAndUnlocksWithThePassword) {
  StorePassword("Secret");
  backend_.QueueModalScript([](CHeadlessWindow& input) { TypePassword(input, "Secret"); });
  ASSERT_TRUE(Open());
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandLockScreen));
  EXPECT_EQ(backend_.ModalRuns().size(), 1u);
  EXPECT_FALSE(Window().IsControlShown(kHeaderList));
  EXPECT_TRUE(Window().Menu().FindCommand(kCommandLockScreen)->checked);
  for (const int id : {kConnectButton, kCloseButton, kAccountSelector, kComposeButton, kForwardButton})
    EXPECT_FALSE(Window().IsEnabled(id)) << id;

  backend_.QueueModalScript([](CHeadlessWindow& input) { TypePassword(input, "SECRET"); });
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandLockScreen));
  EXPECT_THAT(MessageBoxTexts(),
              ElementsAre("The password you have entered is incorrect.\nLarkspin remains locked for you..."));
  EXPECT_FALSE(Window().IsControlShown(kHeaderList));

  backend_.QueueModalScript([](CHeadlessWindow& input) { TypePassword(input, "Secret"); });
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandLockScreen));
  EXPECT_TRUE(Window().IsControlShown(kHeaderList));
  EXPECT_FALSE(Window().Menu().FindCommand(kCommandLockScreen)->checked);
  EXPECT_FALSE(Window().IsEnabled(kDisconnectButton));  // as before the lock
}

class ScreenLockTest : public StartupTest {
 protected:
  ScreenLockTest() {
    server_.ServeMailbox({MakeMessage("Anna <a@example.org>", "Hi", "Tue, 2 Mar 2004 10:11:12 +0100")});
    WriteConfig("PeekTime=0\r\n", {"Home"}, AccountSection(1, server_.Port()));
  }
  // Whether each control the lock disables is enabled.
  std::vector<bool> LockedControlsEnabled() {
    std::vector<bool> enabled;
    for (const int id : {kConnectButton, kCloseButton, kAccountSelector, kFolderSelector, kDeleteButton, kResetButton,
                         kDisconnectButton, kDownloadButton, kComposeButton, kReplyToButton, kForwardButton})
      enabled.push_back(Window().IsEnabled(id));
    return enabled;
  }
  void ToggleLock() { ASSERT_TRUE(Window().ChooseMenuItem(kCommandLockScreen)); }
  FakePop3Server server_;
};

TEST_F(ScreenLockTest, UnlockingRestoresTheControlsOfTheIdleAndTheBusyState) {
  ASSERT_TRUE(Open());
  for (const bool busy : {false, true}) {
    if (busy) ASSERT_TRUE(PeekByConnect());
    ASSERT_EQ(Dialog().Busy(), busy);
    EXPECT_NE(Window().IsEnabled(kConnectButton), Window().IsEnabled(kDisconnectButton));
    const std::vector<bool> before = LockedControlsEnabled();
    ToggleLock();
    EXPECT_THAT(LockedControlsEnabled(), Each(false));
    ToggleLock();
    EXPECT_EQ(LockedControlsEnabled(), before) << (busy ? "busy" : "idle");
  }
}

TEST_F(ScreenLockTest, WhileLockedEveryCommandButUnlockAndExitIsDisabledMenusAndKeysToo) {
  ASSERT_TRUE(Open());
  ASSERT_TRUE(PeekByConnect());
  const auto menu_states = [this] {
    std::vector<std::pair<int, bool>> states;
    for (const int id : Window().Menu().CommandIds()) states.emplace_back(id, Window().Menu().FindCommand(id)->enabled);
    return states;
  };
  const auto before = menu_states();
  ASSERT_GT(before.size(), 15u);
  ToggleLock();
  for (const auto& [id, enabled] : menu_states())
    EXPECT_EQ(enabled, id == kCommandLockScreen || id == kCommandExit) << id;
  EXPECT_FALSE(Window().IsEnabled(kWebLink));
  const struct {
    int key;
    unsigned modifiers;
  } keys[] = {{'N', kKeyCtrl}, {'R', kKeyCtrl}, {kKeyDelete, kKeyPlain}};
  for (const auto& k : keys) EXPECT_FALSE(Window().PressKey(k.key, k.modifiers)) << k.key;
  EXPECT_EQ(backend_.ModalRuns().size(), 0u);
  ToggleLock();
  EXPECT_EQ(menu_states(), before);
}

TEST_F(ScreenLockTest, APeekEndingWhileLockedStaysLockedAndUnlocksIntoTheBusyState) {
  ASSERT_TRUE(Open());
  ASSERT_TRUE(Window().Click(kConnectButton));
  ToggleLock();
  ASSERT_TRUE(WaitForPeek());
  EXPECT_THAT(LockedControlsEnabled(), Each(false));
  ToggleLock();
  EXPECT_TRUE(Dialog().Busy());
  EXPECT_FALSE(Window().IsEnabled(kConnectButton));
  EXPECT_TRUE(Window().IsEnabled(kDisconnectButton));
  EXPECT_TRUE(Window().IsEnabled(kComposeButton));
}

TEST_F(StartupTest, FolderGateAsksWhenThePasswordWasTyped) {
  StorePassword("Secret");
  WriteConfig("PeekTime=0\r\n", {"Home"}, AccountSection(1, 1, "anna", ""));
  backend_.QueueModalScript([](CHeadlessWindow& input) { TypePassword(input, "Secret"); });
  backend_.QueueModalScript([](CHeadlessWindow& input) {  // the POP3 password, not remembered
    input.Type(kInputField, "pop");
    input.Click(kIdOk);
  });
  ASSERT_TRUE(Open());
  WriteFile(folder_.File("mailbox1/msg1.txt"), "From: Anna <a@example.org>\r\nTo: b@example.org\r\n"
                                               "Sent: Tue, 2 Mar 2004 10:11:12 +0100\r\nSubject: Stored\r\n"
                                               "Priority: 3\r\n\r\nText");
  backend_.QueueModalScript([](CHeadlessWindow& input) { TypePassword(input, "wrong"); });
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandOffline));
  EXPECT_THAT(MessageBoxTexts(), Contains("The password you have entered is incorrect.\nThe access to the offline "
                                          "folder will be denied!"));
  EXPECT_EQ(RowCount(), 0);

  backend_.QueueModalScript([](CHeadlessWindow& input) { TypePassword(input, "Secret"); });
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandOffline));
  ASSERT_EQ(RowCount(), 1);
  EXPECT_EQ(Cell(0, kSubjectColumn), "Stored");
  EXPECT_EQ(Icon(0), kIconRowStored);
  EXPECT_EQ(Window().Title(), "(1) Larkspin-Home");
  EXPECT_FALSE(Window().IsEnabled(kDownloadButton));
}

TEST_F(StartupTest, ResetLoginAndPasswordWriteConfigIni) {
  ASSERT_TRUE(Open());
  backend_.QueueMessageBoxAnswer(kButtonNo);
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandResetLogin));
  EXPECT_THAT(ReadFile(folder_.File("config.ini")), HasSubstr("POP3Account=f"));  // "anna" scrambled
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandResetLogin));
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandResetPassword));
  const std::string config = ReadFile(folder_.File("config.ini"));
  EXPECT_THAT(config, HasSubstr("POP3Account=\r\n"));
  EXPECT_THAT(config, HasSubstr("POP3Password=\r\n"));
  EXPECT_THAT(MessageBoxTexts(), ElementsAre("Reset Login for account 'Home' ?", "Reset Login for account 'Home' ?",
                                             "Login successfully reset.", "Reset Password for account 'Home' ?",
                                             "Password successfully reset."));
  EXPECT_TRUE(Dialog().Account().login.empty());

  // All Accounts has no one account to reset: nothing is asked, nothing written.
  ASSERT_TRUE(Window().ChooseEntry(kAccountSelector, 1));
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandResetPassword));
  EXPECT_EQ(MessageBoxTexts().back(), "Cannot reset Password for 'All Accounts'");
  EXPECT_EQ(ReadFile(folder_.File("config.ini")), config);
}

TEST_F(StartupTest, UnlockLogsInAndQuits) {
  FakePop3Server server;
  server.ServeMailbox({});
  WriteConfig("PeekTime=0\r\n", {"Home"}, AccountSection(1, server.Port()));
  ASSERT_TRUE(Open());
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandUnlockAccount));
  EXPECT_EQ(Status(), "'127.0.0.1' unlocked successfully");
  EXPECT_THAT(server.ReceivedLines(), ElementsAre("CAPA", "USER anna", "PASS secret", "STAT", "QUIT"));
  EXPECT_FALSE(Dialog().Connected());
}

TEST_F(StartupTest, EditMenuOpensTheTextFilesInTheEditor) {
  ASSERT_TRUE(Open());
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandProperties));
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandAddressBook));
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandSignature));
  EXPECT_THAT(edited_files_, ElementsAre("config.ini", "address.txt", "signature.txt"));
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandInfo));
  EXPECT_THAT(backend_.ModalRuns(), Contains(kDialogAbout));
}

TEST_F(StartupTest, WithoutAnEditorTheEditMenuSaysSoNamingTheFile) {
  editor_starts_ = false;
  ASSERT_TRUE(Open());
  for (const int command : {kCommandProperties, kCommandAddressBook, kCommandSignature})
    ASSERT_TRUE(Window().ChooseMenuItem(command));
  const std::string advice = ".\nInstall xdg-open, or name an editor in VISUAL or EDITOR.";
  EXPECT_THAT(MessageBoxTexts(), ElementsAre("No editor could be started for " + folder_.File("config.ini") + advice,
                                             "No editor could be started for " + folder_.File("address.txt") + advice,
                                             "No editor could be started for " + folder_.File("signature.txt") + advice));
}

}  // namespace
}  // namespace larkspin::test_support
