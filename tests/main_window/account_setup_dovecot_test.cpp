// A first start without any account: the account dialog opens over the main window, Test logs in
// to a real Dovecot, Save adds the account, and the window peeks it at once with the credentials
// typed there (not remembered, so nothing asks for them again).
#include <gmock/gmock.h>

#include "main_window/main_window_fixture.h"
#include "res/resources.h"
#include "support/dovecot_server.h"

namespace larkspin::test_support {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;

class AccountSetupTest : public MainWindowTest {
 protected:
  AccountSetupTest() {
    server_.AddUser("anna", "secret");
    server_.AddMessage("anna", MakeMessage("Bob <bob@example.org>", "Welcome", "Mon, 2 Mar 2026 10:00:00 +0100"));
    server_.Start();
  }
  DovecotServer server_;
};

TEST_F(AccountSetupTest, TheFirstAccountIsMadeInTheDialogTestedAndPeekedAtOnce) {
  offer_account_setup_ = true;
  std::string test_line;
  backend_.QueueModalScript([&](CHeadlessWindow& dialog) {
    EXPECT_EQ(dialog.TemplateId(), kDialogAccount);
    dialog.Type(kAccountNameField, "Home");
    dialog.Type(kAccountPop3HostField, "127.0.0.1");
    dialog.Type(kAccountPop3PortField, std::to_string(server_.Port()));
    dialog.Type(kAccountLoginField, "anna");
    dialog.Type(kAccountPasswordField, "secret");
    ASSERT_TRUE(dialog.Click(kAccountTestButton));
    test_line = dialog.Text(kAccountStatusLine);
    ASSERT_TRUE(dialog.Click(kIdOk));
    dialog.Click(kIdCancel);
  });
  ASSERT_TRUE(Open());
  EXPECT_THAT(test_line, StartsWith("POP3: logged in, 1 message; SMTP: "));
  EXPECT_THAT(Window().Control(kAccountSelector)->entries, ElementsAre("Home", "All Accounts"));
  EXPECT_EQ(Window().Title(), "Larkspin-Home");
  EXPECT_EQ(backend_.ModalRuns(), std::vector<int>{kDialogAccount}) << "no login prompt after the dialog";

  ASSERT_TRUE(PeekByConnect());
  ASSERT_EQ(RowCount(), 1);
  EXPECT_EQ(Cell(0, kSubjectColumn), "Welcome");
  EXPECT_EQ(ReadFile(folder_.File("config.ini")).find("POP3Password"), std::string::npos) << "not remembered";
}

}  // namespace
}  // namespace larkspin::test_support
