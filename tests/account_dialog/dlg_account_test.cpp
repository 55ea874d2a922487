#include "account_dialog/dlg_account.h"

#include <gmock/gmock.h>

#include "common/message_box.h"
#include "res/control_ids.h"
#include "res/resources.h"
#include "support/fake_pop3_server.h"
#include "support/temp_folder.h"
#include "ui/headless/headless_backend.h"

namespace larkspin {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const char* const kHandWritten =
    "; my settings\r\n"
    "[System]\r\n"
    "Accounts=1\r\n"
    "[Users]\r\n"
    "Account1=Home   ; the family box\r\n"
    "[Account1]\r\n"
    "POP3Host=pop.example.org\r\n"
    "POP3Port=110\r\n"
    "; the end\r\n";

std::vector<std::string> Entries(CHeadlessWindow& window, int id) { return window.Control(id)->entries; }

TEST(SuggestedPortTest, TheUsualPortOfTheModeUnlessTheFieldHoldsOneOfItsOwn) {
  const struct {
    MailProtocol protocol;
    TlsMode mode;
    const char* field;
    const char* expected;
  } cases[] = {
      {MailProtocol::kPop3, TlsMode::kImplicit, "110", "995"}, {MailProtocol::kPop3, TlsMode::kUpgrade, "995", "110"},
      {MailProtocol::kPop3, TlsMode::kNone, "", "110"},        {MailProtocol::kPop3, TlsMode::kImplicit, "1110", "1110"},
      {MailProtocol::kSmtp, TlsMode::kImplicit, "25", "465"},  {MailProtocol::kSmtp, TlsMode::kUpgrade, "465", "587"},
      {MailProtocol::kSmtp, TlsMode::kNone, "465", "25"},      {MailProtocol::kSmtp, TlsMode::kNone, "587", "587"},
      {MailProtocol::kSmtp, TlsMode::kUpgrade, "2525", "2525"},
  };
  for (const auto& c : cases) EXPECT_EQ(SuggestedPort(c.protocol, c.mode, c.field), c.expected) << c.field;
}

class DlgAccountTest : public ::testing::Test {
 protected:
  DlgAccountTest() { test_support::WriteFile("config.ini", kHandWritten); }

  test_support::TempFolder folder_;
  test_support::ScopedWorkingDirectory here_{folder_.Path()};
  CHeadlessBackend backend_;
  CScopedUiBackend installed_{backend_};
};

TEST_F(DlgAccountTest, AddsAnAccountEditsAnotherAndRemovesOnlyTheLast) {
  CDlgAccount dialog(nullptr, 1);
  backend_.QueueMessageBoxAnswer(kButtonYes);  // the question before removing
  backend_.QueueModalScript([](CHeadlessWindow& window) {
    EXPECT_THAT(Entries(window, kAccountChoice), ElementsAre("1: Home   ; the family box", "New account"));
    EXPECT_EQ(window.Text(kAccountPop3HostField), "pop.example.org");
    ASSERT_TRUE(window.ChooseEntry(kAccountChoice, 1));
    EXPECT_EQ(window.Text(kAccountNameField), "");
    EXPECT_EQ(window.Text(kAccountSmtpPortField), "25");
    EXPECT_FALSE(window.Click(kAccountRemoveButton)) << "a new account cannot be removed";
    window.Type(kAccountNameField, "Work");
    window.Type(kAccountPop3HostField, "pop.work.example");
    window.ChooseEntry(kAccountPop3SecurityChoice, 1);  // SSL
    window.ChooseEntry(kAccountSmtpSecurityChoice, 2);  // STARTTLS
    window.ChooseEntry(kAccountAuthenticationChoice, 3);
    EXPECT_EQ(window.Text(kAccountPop3PortField), "995");
    EXPECT_EQ(window.Text(kAccountSmtpPortField), "587");
    ASSERT_TRUE(window.Click(kIdOk));
    EXPECT_EQ(window.Text(kAccountStatusLine), "Saved as account 2.");
    EXPECT_EQ(Entries(window, kAccountChoice).size(), 3u);

    ASSERT_TRUE(window.ChooseEntry(kAccountChoice, 0));
    EXPECT_FALSE(window.Click(kAccountRemoveButton)) << "only the last account can be removed";
    window.Type(kAccountPop3PortField, "1110");
    ASSERT_TRUE(window.Click(kIdOk));

    ASSERT_TRUE(window.ChooseEntry(kAccountChoice, 1));
    EXPECT_EQ(window.Text(kAccountPop3PortField), "995");
    ASSERT_TRUE(window.Click(kAccountRemoveButton));
    EXPECT_EQ(window.Text(kAccountStatusLine), "Account removed.");
    EXPECT_THAT(Entries(window, kAccountChoice), ElementsAre("1: Home   ; the family box", "New account"));
    window.Click(kIdCancel);
  });
  dialog.DoModal();
  EXPECT_TRUE(dialog.Changed());
  EXPECT_EQ(dialog.LastSavedAccount(), 1);
  std::string expected = kHandWritten;
  expected.replace(expected.find("POP3Port=110"), 12, "POP3Port=1110");
  EXPECT_EQ(test_support::ReadFile("config.ini"), expected) << "every other byte as it was written by hand";
}

TEST_F(DlgAccountTest, ClosingOrSwitchingWithUnsavedChangesAsksFirst) {
  CDlgAccount dialog(nullptr, 1);
  for (const int answer : {kButtonCancel, kButtonNo, kButtonCancel, kButtonNo}) backend_.QueueMessageBoxAnswer(answer);
  backend_.QueueModalScript([](CHeadlessWindow& window) {
    window.Type(kAccountPop3HostField, "typo.example");
    window.ChooseEntry(kAccountChoice, 1);
    EXPECT_EQ(window.Text(kAccountPop3HostField), "typo.example") << "Cancel stays with the changes";
    EXPECT_EQ(window.Control(kAccountChoice)->selection, 0);
    window.ChooseEntry(kAccountChoice, 1);
    EXPECT_EQ(window.Text(kAccountPop3HostField), "") << "No drops them";
    window.Type(kAccountNameField, "Other");
    window.PressEscape();
    EXPECT_FALSE(window.HasEnded()) << "Cancel keeps the dialog open";
    window.PressEscape();
  });
  EXPECT_EQ(dialog.DoModal(), kIdCancel);
  EXPECT_FALSE(dialog.Changed());
  EXPECT_EQ(backend_.MessageBoxes().size(), 4u);
  EXPECT_EQ(test_support::ReadFile("config.ini"), kHandWritten);
}

TEST_F(DlgAccountTest, TestSaysInTheStatusLineWhyTheServerCannotBeReached) {
  int closed_port = 0;
  {
    test_support::FakePop3Server gone;
    closed_port = gone.Port();
  }
  CDlgAccount dialog(nullptr, 1);
  backend_.QueueModalScript([closed_port](CHeadlessWindow& window) {
    window.Type(kAccountPop3HostField, "127.0.0.1");
    window.Type(kAccountPop3PortField, std::to_string(closed_port));
    window.Type(kAccountLoginField, "anna");
    window.Type(kAccountPasswordField, "secret");
    ASSERT_TRUE(window.Click(kAccountTestButton));
    const std::string line = window.Text(kAccountStatusLine);
    EXPECT_THAT(line, StartsWith("POP3: Cannot connect to 127.0.0.1:"));
    EXPECT_THAT(line, HasSubstr("Connection refused; SMTP: "));
    EXPECT_TRUE(window.Control(kAccountPasswordField)->password);
  });
  backend_.QueueMessageBoxAnswer(kButtonNo);  // the unsaved changes at the end
  dialog.DoModal();
  EXPECT_EQ(backend_.ResponsiveRuns(), 1) << "the window stays responsive while it connects";
}

}  // namespace
}  // namespace larkspin
