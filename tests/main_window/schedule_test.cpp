// The countdown to the next automatic peek, the idle close of a manual connection, account
// switching, and the guard that keeps two peeks off the one POP3 client.
#include <gmock/gmock.h>

#include "main_window/main_window_fixture.h"
#include "common/message_box.h"
#include "res/resources.h"
#include "support/fake_pop3_server.h"

namespace larkspin::test_support {
namespace {

using ::testing::Contains;
using ::testing::Not;

class ScheduleTest : public MainWindowTest {
 protected:
  ScheduleTest() { server_.ServeMailbox({MakeMessage("Anna <a@example.org>", "Hi", "Tue, 2 Mar 2004 10:11:12 +0100")}); }
  void OpenWith(const std::string& system_lines) {
    WriteConfig(system_lines, {"Home", "Work"},
                AccountSection(1, server_.Port()) + AccountSection(2, server_.Port(), "bert", "pw2"));
    ASSERT_TRUE(Open());
  }
  FakePop3Server server_;
};

TEST_F(ScheduleTest, CountdownStartsAnAutomaticPeekEveryPeekTimeMinutes) {
  OpenWith("PeekTime=2\r\n");
  EXPECT_TRUE(Window().IsTimerRunning(kCountdownTimer));
  EXPECT_EQ(Window().TimerPeriod(kCountdownTimer), 60000);
  EXPECT_EQ(Status(), "Home");  // the countdown text comes only after the first minute

  ASSERT_TRUE(Window().FireTimer(kCountdownTimer));
  EXPECT_EQ(Status(), "Ready: 1 min. until 1. larkspin");
  EXPECT_EQ(server_.ConnectionCount(), 0);

  ASSERT_TRUE(Window().FireTimer(kCountdownTimer));
  ASSERT_TRUE(WaitForPeek());
  EXPECT_EQ(server_.ConnectionCount(), 1);
  EXPECT_EQ(Dialog().PeekNumber(), 2);
  EXPECT_EQ(RowCount(), 1);
  // An automatic peek logs out at its end and keeps the countdown going.
  EXPECT_THAT(server_.ReceivedLines(), Contains("QUIT"));
  EXPECT_FALSE(Dialog().Busy());
  EXPECT_TRUE(Window().IsTimerRunning(kCountdownTimer));
  EXPECT_FALSE(Window().IsTimerRunning(kIdleTimer));
  ASSERT_TRUE(Window().FireTimer(kCountdownTimer));
  EXPECT_EQ(Status(), "Ready: 1 min. until 2. larkspin");
}

TEST_F(ScheduleTest, PeekTimeZeroNeverCountsDown) {
  OpenWith("PeekTime=0\r\n");
  EXPECT_FALSE(Window().IsTimerRunning(kCountdownTimer));
  ASSERT_TRUE(PeekByConnect());
  ASSERT_TRUE(Window().Click(kDisconnectButton));
  EXPECT_FALSE(Window().IsTimerRunning(kCountdownTimer));
  EXPECT_FALSE(Dialog().AutomaticPeek());
}

TEST_F(ScheduleTest, ConnectStopsTheCountdownAndTheIdleTimerEndsTheConnection) {
  OpenWith("PeekTime=3\r\n");
  ASSERT_TRUE(Window().FireTimer(kCountdownTimer));
  ASSERT_TRUE(PeekByConnect());
  EXPECT_FALSE(Window().IsTimerRunning(kCountdownTimer));
  EXPECT_TRUE(Dialog().ManualConnection());
  EXPECT_TRUE(Dialog().Connected());

  ASSERT_TRUE(Window().FireTimer(kIdleTimer));
  EXPECT_THAT(server_.ReceivedLines(), Contains("QUIT"));
  EXPECT_FALSE(Dialog().Connected());
  EXPECT_FALSE(Dialog().ManualConnection());
  EXPECT_FALSE(Window().IsTimerRunning(kIdleTimer));
  // The countdown goes on from where Connect stopped it.
  EXPECT_TRUE(Window().IsTimerRunning(kCountdownTimer));
  ASSERT_TRUE(Window().FireTimer(kCountdownTimer));
  EXPECT_EQ(Status(), "Ready: 1 min. until 1. larkspin");
}

// The idle close may come while the user types elsewhere: its question defaults to No, and No
// logs out all the same and keeps the mark for the next peek. The user's own Disconnect
// defaults to Yes, and No stays connected.
TEST_F(ScheduleTest, AQuestionTheUserDidNotAskForDefaultsToNo) {
  server_.ServeMailbox({MakeMessage("Anna <a@example.org>", "Hi", "Tue, 2 Mar 2004 10:11:12 +0100"),
                        MakeMessage("Bert <b@example.org>", "Ho", "Wed, 3 Mar 2004 10:11:12 +0100")});
  OpenWith("PeekTime=3\r\n");
  ASSERT_TRUE(PeekByConnect());
  SelectRows({0});
  ASSERT_TRUE(Window().Click(kDeleteButton));
  ASSERT_TRUE(Window().FireTimer(kIdleTimer));
  ASSERT_EQ(backend_.MessageBoxes().size(), 1u);
  const ShownMessageBox idle_question = backend_.MessageBoxes()[0];
  EXPECT_TRUE(idle_question.style & kBoxDefaultNo);
  EXPECT_EQ(idle_question.answer, kButtonNo);
  EXPECT_EQ(idle_question.owner, &Window()) << "the window is raised with its question";
  EXPECT_THAT(server_.ReceivedLines(), Not(Contains(::testing::StartsWith("DELE"))));
  EXPECT_FALSE(Dialog().Connected());
  EXPECT_EQ(Icon(0), kIconRowDeleteMark);
  EXPECT_EQ(Status(), "Idle connection closed.   1 message(s) marked for deletion: deleted at the next peek.");
  EXPECT_TRUE(Window().IsTimerRunning(kCountdownTimer));

  ASSERT_TRUE(PeekByConnect());
  EXPECT_THAT(server_.ReceivedLines(), Contains(::testing::StartsWith("DELE"))) << "the next peek carries it out";
  ASSERT_GE(RowCount(), 1);
  SelectRows({0});
  ASSERT_TRUE(Window().Click(kDeleteButton));
  backend_.QueueMessageBoxAnswer(kButtonNo);
  ASSERT_TRUE(Window().Click(kDisconnectButton));
  ASSERT_EQ(backend_.MessageBoxes().size(), 2u);
  EXPECT_FALSE(backend_.MessageBoxes()[1].style & kBoxDefaultNo);
  EXPECT_TRUE(Dialog().Connected());
}

TEST_F(ScheduleTest, TwoPeeksNeverShareTheClient) {
  // The server answers STAT late, so the countdown's peek is still running below.
  server_.On("STAT", SplitReply({"+OK 1 ", "100\r\n"}, 300), 1);
  OpenWith("PeekTime=1\r\n");
  ASSERT_TRUE(Window().FireTimer(kCountdownTimer));
  ASSERT_TRUE(Dialog().PeekRunning());
  EXPECT_FALSE(Window().IsEnabled(kConnectButton));
  EXPECT_FALSE(Window().Click(kConnectButton));
  EXPECT_FALSE(Window().IsEnabled(kAccountSelector));
  ASSERT_TRUE(Window().FireTimer(kCountdownTimer));  // the next turn is skipped
  EXPECT_EQ(Dialog().PeekNumber(), 2);
  ASSERT_TRUE(WaitForPeek());
  EXPECT_EQ(server_.ConnectionCount(), 1);
  EXPECT_TRUE(Window().IsEnabled(kConnectButton));
  EXPECT_TRUE(Window().IsEnabled(kAccountSelector));
}

TEST_F(ScheduleTest, CommandsThatWouldShareTheClientOrTheRowsWaitForThePeek) {
  server_.On("STAT", SplitReply({"+OK 1 ", "100\r\n"}, 300), 1);
  OpenWith("PeekTime=1\r\n");
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandLockScreen));
  ASSERT_TRUE(Window().FireTimer(kCountdownTimer));
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandLockScreen));  // no password: unlocks at once
  EXPECT_FALSE(Window().IsEnabled(kConnectButton));
  EXPECT_FALSE(Window().IsEnabled(kAccountSelector));
  EXPECT_TRUE(Window().IsEnabled(kComposeButton));
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandUnlockAccount));
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandResetLogin));
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandOffline));
  EXPECT_EQ(backend_.Beeps(), 3);
  EXPECT_TRUE(backend_.MessageBoxes().empty());
  EXPECT_EQ(Dialog().FolderView(), MailboxView::kOnline);
  ASSERT_TRUE(WaitForPeek());
  EXPECT_EQ(server_.ConnectionCount(), 1);
  EXPECT_EQ(RowCount(), 1);
  EXPECT_TRUE(Window().IsEnabled(kConnectButton));
}

TEST_F(ScheduleTest, CloseDuringAPeekWaitsForItsEnd) {
  server_.On("STAT", SplitReply({"+OK 1 ", "100\r\n"}, 200), 1);
  OpenWith("PeekTime=1\r\n");
  ASSERT_TRUE(Window().FireTimer(kCountdownTimer));
  ASSERT_TRUE(Window().Click(kCloseButton));
  EXPECT_FALSE(Window().HasEnded());
  ASSERT_TRUE(WaitForPeek());
  EXPECT_TRUE(Window().HasEnded());
  EXPECT_EQ(RowCount(), 0);
}

TEST_F(ScheduleTest, SwitchingAccountsResetsTheListAndTheTotal) {
  OpenWith("PeekTime=0\r\n");
  EXPECT_EQ(Window().Control(kAccountSelector)->entries, (std::vector<std::string>{"Home", "Work", "All Accounts"}));
  ASSERT_TRUE(PeekByConnect());
  ASSERT_TRUE(Window().Click(kDisconnectButton));
  ASSERT_EQ(RowCount(), 1);
  ASSERT_TRUE(Window().ChooseEntry(kAccountSelector, 1));
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(Dialog().PreviousTotal(), 0);
  EXPECT_EQ(Dialog().Account().account_number, 2);
  EXPECT_EQ(Dialog().Account().login, "bert");
  EXPECT_EQ(Window().Title(), "Larkspin-Work");
  EXPECT_EQ(Status(), "Work");
  EXPECT_EQ(Window().FocusedControl(), kConnectButton);

  ASSERT_TRUE(Window().ChooseEntry(kAccountSelector, 2));
  EXPECT_TRUE(Dialog().AllAccounts());
  for (const int id : {kDownloadButton, kDeleteButton, kResetButton, kFolderSelector})
    EXPECT_FALSE(Window().IsEnabled(id)) << id;
  ASSERT_TRUE(Window().ChooseEntry(kAccountSelector, 0));
  EXPECT_TRUE(Window().IsEnabled(kDeleteButton));
}

TEST_F(ScheduleTest, AnAccountWithoutCredentialsIsAskedForThemOnSelection) {
  WriteConfig("PeekTime=0\r\n", {"Home", "Work"}, AccountSection(1, server_.Port()) + AccountSection(2, server_.Port(), ""));
  ASSERT_TRUE(Open());
  backend_.QueueModalScript([](CHeadlessWindow& input) {
    input.Type(kInputField, "bert");
    input.Click(kIdOk);
  });
  backend_.QueueModalScript([](CHeadlessWindow& input) {
    EXPECT_TRUE(input.Control(kInputField)->password);
    input.Type(kInputField, "typed");
    input.Click(kIdOk);
  });
  ASSERT_TRUE(Window().ChooseEntry(kAccountSelector, 1));
  EXPECT_EQ(Dialog().Account().login, "bert");
  EXPECT_EQ(Dialog().Account().password, "typed");
  EXPECT_TRUE(Dialog().Account().folder_gate_mark);
}

}  // namespace
}  // namespace larkspin::test_support
