// PasswordStore=Keyring in the main window on the headless backend: ctest runs the RealKeyring
// suite under keyring_session.sh (a private gnome-keyring) and the NoKeyring suite with no
// session bus.
#include <gmock/gmock.h>

#include "config/current_account.h"
#include "main_window/main_window_fixture.h"
#include "platform/private_profile.h"
#include "platform/secret_store.h"
#include "res/resources.h"
#include "support/fake_pop3_server.h"

namespace larkspin::test_support {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

const SecretKey kAnnasKey{"127.0.0.1", "anna"};
constexpr const char* kNoBusProblem =
    "Password for anna@127.0.0.1 not read from the keyring: the keyring is not available: ";

class KeyringWindowTest : public MainWindowTest {
 protected:
  KeyringWindowTest() { server_.ServeMailbox({MakeMessage("Bob <bob@example.org>", "Hello", "Wed, 3 Mar 2004 09:00:00 +0100")}); }
  // Account "Home" with its login but no password in config.ini.
  void OpenHome() {
    WriteConfig("PeekTime=0\r\nPasswordStore=keyring\r\n", {"Home"}, AccountSection(1, server_.Port(), "anna", ""));
    ASSERT_TRUE(Open());
  }
  // The next password question: records the status line shown meanwhile, types, ticks Remember.
  void AnswerPasswordWithRemember(const std::string& password) {
    backend_.QueueModalScript([this, password](CHeadlessWindow& input) {
      status_while_asked_ = Status();
      input.Type(kInputField, password);
      input.Click(kInputRememberBox);
      input.Click(kIdOk);
    });
  }
  std::string PasswordInConfig() const {
    return ReadProfileString(folder_.File("config.ini"), "Account1", "POP3Password", "");
  }

  FakePop3Server server_;
  std::string status_while_asked_;
};

TEST_F(KeyringWindowTest, RealKeyringRememberKeepsThePasswordThereAndResetRemovesIt) {
  AnswerPasswordWithRemember("typed secret");
  OpenHome();
  ASSERT_TRUE(PeekByConnect());
  EXPECT_THAT(server_.ReceivedLines(), Contains("PASS typed secret"));
  EXPECT_EQ(LookUpSecret(kAnnasKey, 5000).secret, "typed secret");
  EXPECT_EQ(PasswordInConfig(), "");
  EXPECT_EQ(status_while_asked_.find("keyring"), std::string::npos);  // nothing went wrong

  // Another account object (as after a restart) finds it without asking.
  CDlgInput never_shown(nullptr);
  CCurrentAccount fresh(never_shown);
  ASSERT_EQ(fresh.EnsureCredentials("Account1", PeekScope::kAllAccounts), 1);
  EXPECT_EQ(fresh.password, "typed secret");
  EXPECT_FALSE(fresh.folder_gate_mark);

  ASSERT_TRUE(Window().ChooseMenuItem(kCommandResetPassword));
  EXPECT_THAT(MessageBoxTexts(), Contains("Password successfully reset."));
  EXPECT_EQ(LookUpSecret(kAnnasKey, 5000).result, SecretResult::kNotFound);
}

TEST_F(KeyringWindowTest, RealKeyringResetWithoutAKnownLoginSaysSoAndKeepsThePassword) {
  ASSERT_EQ(StoreSecret(kAnnasKey, "kept", 5000).result, SecretResult::kDone);
  WriteConfig("PeekTime=0\r\nPasswordStore=Keyring\r\n", {"Home"}, AccountSection(1, server_.Port(), "", ""));
  ASSERT_TRUE(Open());
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandResetPassword));
  EXPECT_THAT(MessageBoxTexts().back(), HasSubstr("not removed from the keyring: no login is known for it"));
  EXPECT_EQ(LookUpSecret(kAnnasKey, 5000).secret, "kept");
  RemoveSecret(kAnnasKey, 5000);
}

TEST_F(KeyringWindowTest, NoKeyringAsksInTheWindowSaysWhyAndWritesNoPassword) {
  AnswerPasswordWithRemember("typed secret");
  OpenHome();
  ASSERT_TRUE(PeekByConnect());
  EXPECT_THAT(server_.ReceivedLines(), Contains("PASS typed secret"));
  EXPECT_THAT(status_while_asked_, StartsWith(kNoBusProblem));
  EXPECT_THAT(LogText(), HasSubstr(kNoBusProblem));
  EXPECT_THAT(LogText(), HasSubstr("Password for anna@127.0.0.1 not remembered in the keyring (config.ini keeps none)"));
  EXPECT_EQ(PasswordInConfig(), "");

  // Reset says the keyring failed instead of reporting success.
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandResetPassword));
  EXPECT_THAT(MessageBoxTexts().back(), StartsWith("Password for anna@127.0.0.1 not removed from the keyring"));
}

TEST_F(KeyringWindowTest, NoKeyringProblemOfOneAccountIsNotShownForAllAccounts) {
  AnswerPasswordWithRemember("typed secret");
  OpenHome();
  EXPECT_THAT(Status(), StartsWith("Password for anna@127.0.0.1"));
  ASSERT_TRUE(Window().ChooseEntry(kAccountSelector, 1));
  EXPECT_EQ(Status(), "All Accounts");
}

TEST_F(KeyringWindowTest, NoKeyringSkipsTheAccountInAllAccountsModeWithTheReason) {
  OpenHome();
  ASSERT_TRUE(Window().ChooseEntry(kAccountSelector, 1));
  ASSERT_TRUE(PeekByConnect());
  EXPECT_THAT(statuses_, Contains(StartsWith(std::string("Account 'Home' skipped: ") + kNoBusProblem)));
  EXPECT_THAT(server_.ReceivedLines(), Not(Contains(StartsWith("PASS"))));
  EXPECT_EQ(PasswordInConfig(), "");

  // Back on the account, it is asked for; the status line keeps why it is not remembered.
  AnswerPasswordWithRemember("typed secret");
  ASSERT_TRUE(Window().ChooseEntry(kAccountSelector, 0));
  EXPECT_THAT(status_while_asked_, StartsWith(kNoBusProblem));
  EXPECT_THAT(Status(), StartsWith("Password for anna@127.0.0.1 not remembered in the keyring"));
  EXPECT_EQ(PasswordInConfig(), "");
}

}  // namespace
}  // namespace larkspin::test_support
