// A peek through the main window against the fake POP3 server: what the user sees during and
// after it, in single-account and all-accounts mode.
#include <gmock/gmock.h>

#include <filesystem>

#include "main_window/main_window_fixture.h"
#include "common/format.h"
#include "platform/file_system.h"
#include "res/resources.h"
#include "support/fake_pop3_server.h"

namespace larkspin::test_support {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

class PeekTest : public MainWindowTest {
 protected:
  PeekTest() {
    messages_ = {MakeMessage("Anna Example <anna@example.org>", "First", "Tue, 2 Mar 2004 10:11:12 +0100"),
                 MakeMessage("Bob <bob@example.org>", "Second", "Wed, 3 Mar 2004 09:00:00 +0100", 3000),
                 MakeMessage("<carl@example.org>", "Third", "Mon, 1 Mar 2004 08:00:00 +0100", 1024)};
    server_.ServeMailbox(messages_);
  }
  void OpenHome(const std::string& system_lines = "PeekTime=0\r\nMailThreshold=1\r\n") {
    WriteConfig(system_lines, {"Home"}, AccountSection(1, server_.Port()));
    ASSERT_TRUE(Open());
  }
  int Size(size_t i) const { return static_cast<int>(messages_[i].size()); }
  int TotalSize() const { return Size(0) + Size(1) + Size(2); }

  std::vector<std::string> messages_;
  FakePop3Server server_;
};

// Under Charsets=Modern a Date written as RFC 5322 allows (no weekday, a comment, a zone name, a
// two-digit year) shows as the list's own date and sorts in time order; so do stored files.
TEST_F(PeekTest, ModernDatesWithoutWeekdayShowTheirDayAndSortInTimeOrder) {
  server_.ServeMailbox({MakeMessage("A <a@example.org>", "March", "3 Mar 2026 21:17:44 +0100 (CET)"),
                        MakeMessage("B <b@example.org>", "January", "Mon, 5 Jan 2026 08:00:00 EST"),
                        MakeMessage("C <c@example.org>", "February", "28 feb 26 12:00 +0100")});
  OpenHome("PeekTime=0\r\nCharsets=Modern\r\n");
  ASSERT_TRUE(PeekByConnect());
  ASSERT_EQ(RowCount(), 3);
  std::vector<std::string> dates;
  for (int row = 0; row < 3; ++row) dates.push_back(Cell(row, kDateColumn));
  EXPECT_THAT(dates, ElementsAre("03.03.2026 21:17:44 +0100", "28.02.2026 12:00:00 +0100", "05.01.2026 08:00:00 -0500"));

  WriteFile(folder_.File("mailbox1/msg1.txt"), "From: A <a@example.org>\r\nTo: b@example.org\r\n"
                                               "Sent: 3 Mar 2026 21:17:44 +0100\r\nSubject: Stored\r\n\r\nText");
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandOffline));
  ASSERT_EQ(RowCount(), 1);
  EXPECT_EQ(Cell(0, kDateColumn), "03.03.2026 21:17:44 +0100");
}

TEST_F(PeekTest, ConnectFillsTheListAndKeepsTheConnectionForDisconnect) {
  OpenHome();
  ASSERT_TRUE(PeekByConnect());

  const double total_kb = TotalSize() / 1024.0;
  EXPECT_THAT(statuses_, Contains("connecting to '127.0.0.1'..."));
  EXPECT_THAT(statuses_, Contains(FormatText("Reading header 1 of 3   Total Size %.2lf kBytes", total_kb)));
  EXPECT_THAT(statuses_, Contains(FormatText("Reading header 3 of 3   Total Size %.2lf kBytes", total_kb)));
  EXPECT_EQ(Status(), FormatText("Total messages: 3     Total size: %.2lf kbyte (%d byte)", total_kb, TotalSize()));

  // Sorted by date, newest first; only headers were fetched.
  ASSERT_EQ(RowCount(), 3);
  EXPECT_EQ(Cell(0, kFromColumn), "Bob");
  EXPECT_EQ(Cell(0, kSubjectColumn), "Second");
  EXPECT_EQ(Cell(0, kDateColumn), "03.03.2004 09:00:00 +0100");
  EXPECT_EQ(Cell(0, kAccountColumn), "Home");
  EXPECT_EQ(Cell(0, kSizeColumn), FormatText("%.0lfk", Size(1) / 1024.0));
  EXPECT_EQ(Cell(1, kFromColumn), "Anna Example");
  EXPECT_EQ(Dialog().RowRecord(1)->sender_address, "anna@example.org");
  EXPECT_EQ(Cell(2, kFromColumn), "<carl@example.org>");
  EXPECT_EQ(Dialog().RowRecord(0)->message_number, 2);
  for (int row = 0; row < 3; ++row) EXPECT_EQ(Icon(row), kIconRowOnServer);
  for (const std::string& line : server_.ReceivedLines()) EXPECT_THAT(line, Not(HasSubstr("RETR")));

  // Over MailThreshold (1k) is red; exactly 1024 bytes is not. Backgrounds alternate.
  EXPECT_EQ(Dialog().HeaderList().RowTextColour(0), Rgb(170, 10, 10));
  EXPECT_FALSE(Dialog().HeaderList().RowTextColour(2).has_value());
  EXPECT_EQ(Dialog().HeaderList().RowBackground(0), Rgb(245, 245, 245));
  EXPECT_EQ(Dialog().HeaderList().RowBackground(1), Rgb(230, 230, 230));
  EXPECT_EQ(Window().Title(), "(3) Larkspin-Home");
  EXPECT_EQ(sound_.tones, 1);
  EXPECT_EQ(sound_.last_tone_hz, 15000);
  EXPECT_EQ(Window().Progress(kProgressBar).position, 3);

  // Busy: the connection stays open for Disconnect; the idle timer runs.
  EXPECT_TRUE(Dialog().Connected());
  EXPECT_FALSE(Window().IsEnabled(kConnectButton));
  EXPECT_FALSE(Window().IsEnabled(kCloseButton));
  EXPECT_FALSE(Window().IsEnabled(kAccountSelector));
  EXPECT_TRUE(Window().IsEnabled(kDisconnectButton));
  EXPECT_TRUE(Window().IsTimerRunning(kIdleTimer));
  EXPECT_THAT(server_.ReceivedLines(), Not(Contains("QUIT")));

  ASSERT_TRUE(Window().Click(kDisconnectButton));
  EXPECT_EQ(Status(), "Disconnecting from server...Ok");
  EXPECT_THAT(server_.ReceivedLines(), Contains("QUIT"));
  EXPECT_TRUE(Window().IsEnabled(kConnectButton));
  EXPECT_FALSE(Window().IsEnabled(kDisconnectButton));
  EXPECT_FALSE(Window().IsTimerRunning(kIdleTimer));
  EXPECT_EQ(Window().Progress(kProgressBar).position, 0);
}

TEST_F(PeekTest, NewMailSoundOnlyWhenTheTotalGrew) {
  OpenHome();
  ASSERT_TRUE(PeekByConnect());
  ASSERT_TRUE(Window().Click(kDisconnectButton));
  ASSERT_TRUE(PeekByConnect());  // the same three messages
  EXPECT_EQ(sound_.tones, 1);
  ASSERT_TRUE(Window().Click(kDisconnectButton));

  // An account switch forgets the total; with a wave file it is played instead of the tone.
  WriteFile(folder_.File("larkspin.wav"), "RIFF");
  ASSERT_TRUE(Window().ChooseEntry(kAccountSelector, 0));
  EXPECT_EQ(Dialog().PreviousTotal(), 0);
  ASSERT_TRUE(PeekByConnect());
  EXPECT_EQ(sound_.waves, 1);
  EXPECT_EQ(sound_.tones, 1);
}

// NewMailBy=Uidl on a server without UIDL counts as Count does, says so in the log once per
// account, and shows no row in bold.
TEST_F(PeekTest, UidlOnAServerWithoutItCountsAndLogsItOnce) {
  server_.RefuseUidl();
  OpenHome("PeekTime=0\r\nNewMailBy=Uidl\r\n");
  ASSERT_TRUE(PeekByConnect());
  ASSERT_TRUE(Window().Click(kDisconnectButton));
  ASSERT_TRUE(PeekByConnect());  // the same three messages
  EXPECT_EQ(sound_.tones, 1);
  ASSERT_TRUE(Window().Click(kDisconnectButton));
  messages_.push_back(MakeMessage("Dora <dora@example.org>", "Fourth", "Thu, 4 Mar 2004 10:00:00 +0100"));
  server_.ServeMailbox(messages_);
  server_.RefuseUidl();
  ASSERT_TRUE(PeekByConnect());

  EXPECT_EQ(sound_.tones, 2);
  const std::string log = LogText();
  const std::string notice = "127.0.0.1 does not support UIDL; new mail of account Home is counted";
  const size_t first = log.find(notice);
  ASSERT_NE(first, std::string::npos) << log;
  EXPECT_EQ(log.find(notice, first + 1), std::string::npos) << log;
  for (int row = 0; row < RowCount(); ++row) EXPECT_FALSE(Dialog().HeaderList().RowBold(row));
  EXPECT_FALSE(std::filesystem::exists(folder_.File("mailbox1/seen-ids.list")));
}

TEST_F(PeekTest, TheTitleAndTheTotalCountTheRowsTheViewShows) {
  OpenHome();
  ASSERT_TRUE(PeekByConnect());
  ASSERT_TRUE(Window().Click(kDisconnectButton));
  EXPECT_EQ(Window().Title(), "(3) Larkspin-Home");
  MakeFolder(folder_.File("mailbox1/sent"));
  const std::string copy = "To: Bert <b@example.org>\r\nSubject: Minutes\r\n\r\nText";
  WriteFile(folder_.File("mailbox1/sent/copy.txt"), copy);
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandSent));
  EXPECT_EQ(Window().Title(), "(1) Larkspin-Home");
  EXPECT_EQ(Status(), FormatText("Total messages: 1     Total size: %.2lf kbyte (%zu byte)", copy.size() / 1024.0,
                                 copy.size()));
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandOnline));
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(Window().Title(), "Larkspin-Home");
}

// Sent copies keep "DD.MM.YYYY.hh.mm.ss"; the view writes it as the Online view writes a date
// and lists the newest first. A header click keeps the row stripes alternating.
TEST_F(PeekTest, TheSentViewWritesDatesAsTheOnlineViewNewestFirstAndStripesFollowTheRows) {
  OpenHome();
  MakeFolder(folder_.File("mailbox1/sent"));
  const std::pair<std::string, std::string> copies[] = {
      {"09.12.2026.01.45.21", "A"}, {"10.12.2025.23.00.00", "C"}, {"11.01.2027.08.30.00", "B"}};
  for (const auto& [stamp, subject] : copies)
    WriteFile(folder_.File("mailbox1/sent/msg" + stamp + ".txt"),
              "To: b@example.org\r\nSent: " + stamp + "\r\nSubject: " + subject + "\r\n\r\nText");
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandSent));
  ASSERT_EQ(RowCount(), 3);
  EXPECT_EQ(Cell(0, kDateColumn), "11.01.2027 08:30:00");
  EXPECT_EQ(Cell(1, kDateColumn), "09.12.2026 01:45:21");
  EXPECT_EQ(Cell(2, kDateColumn), "10.12.2025 23:00:00");
  ASSERT_TRUE(Window().ClickColumn(kHeaderList, kSubjectColumn));
  EXPECT_EQ(Cell(0, kSubjectColumn), "A");
  const CSortingList& list = Dialog().HeaderList();
  for (int row = 1; row < RowCount(); ++row) EXPECT_NE(list.RowBackground(row), list.RowBackground(row - 1)) << row;
}

TEST_F(PeekTest, EmptyMailboxReportsZeroTotals) {
  FakePop3Server empty;
  empty.ServeMailbox({});
  WriteConfig("PeekTime=0\r\n", {"Home"}, AccountSection(1, empty.Port()));
  ASSERT_TRUE(Open());
  ASSERT_TRUE(PeekByConnect());
  EXPECT_EQ(Status(), "Total messages: 0     Total size: 0.00 kbyte (0 byte)");
  EXPECT_EQ(Window().Title(), "(0) Larkspin-Home");
  EXPECT_THAT(empty.ReceivedLines(), Not(Contains(HasSubstr("TOP"))));
  EXPECT_EQ(sound_.tones, 0);
}

TEST_F(PeekTest, RefusedLoginEmptiesTheListAndShowsTheServerReply) {
  OpenHome();
  ASSERT_TRUE(PeekByConnect());
  ASSERT_TRUE(Window().Click(kDisconnectButton));
  server_.On("PASS", Reply("-ERR wrong password\r\n"));
  ASSERT_TRUE(PeekByConnect());

  EXPECT_EQ(RowCount(), 0);
  EXPECT_THAT(statuses_, Contains("Error connecting to 127.0.0.1: -ERR wrong password"));
  EXPECT_THAT(MessageBoxTexts(), Contains("Error connecting to 127.0.0.1: -ERR wrong password\nUser: anna"));
  EXPECT_THAT(LogText(), HasSubstr("Error connecting to 127.0.0.1: -ERR wrong password"));
  EXPECT_EQ(Status(), "Total messages: 0     Total size: 0.00 kbyte (0 byte)");
  EXPECT_FALSE(Dialog().Connected());
}

TEST_F(PeekTest, FailedStatisticsIsReportedAndLogged) {
  OpenHome();
  server_.On("STAT", Reply("-ERR mailbox busy\r\n"));
  ASSERT_TRUE(PeekByConnect());
  EXPECT_THAT(statuses_, Contains("Error Statistics: -ERR mailbox busy"));
  EXPECT_THAT(LogText(), HasSubstr("Error Statistics: -ERR mailbox busy"));
  EXPECT_EQ(RowCount(), 0);
}

// In lock-step each download follows its row; with FastPeek on a connection that pipelines they
// all come after the last row, and the window shows them alike.
TEST_F(PeekTest, DownloadAllStoresEveryMessageNotAboveTheThreshold) {
  const std::pair<const char*, std::vector<std::string>> ways[] = {
      {"0", {"TOP 1 0", "RETR 1", "TOP 2 0", "TOP 3 0", "RETR 3"}},
      {"1", {"TOP 1 0", "TOP 2 0", "TOP 3 0", "RETR 1", "RETR 3"}}};
  for (const auto& [fast_peek, commands] : ways) {
    SCOPED_TRACE(fast_peek);
    std::filesystem::remove_all(folder_.File("mailbox1"));
    const size_t earlier_lines = server_.ReceivedLines().size();
    WriteConfig(FormatText("PeekTime=0\r\nMailThreshold=2\r\nFastPeek=%s\r\n", fast_peek), {"Home"},
                AccountSection(1, server_.Port()) + "Pipelining=Always\r\n");
    ASSERT_TRUE(Open());
    ASSERT_TRUE(Window().ChooseMenuItem(kCommandDownloadAll));
    EXPECT_TRUE(Window().Menu().FindCommand(kCommandDownloadAll)->checked);
    ASSERT_TRUE(PeekByConnect());

    const int large = RowOfMessage(2);
    EXPECT_EQ(Icon(large), kIconRowOnServer);
    EXPECT_TRUE(Dialog().RowRecord(large)->local_file.empty());
    for (const int number : {1, 3}) {
      const int row = RowOfMessage(number);
      EXPECT_EQ(Icon(row), kIconRowDownloadedAutomatically);
      EXPECT_TRUE(FileExists(Dialog().RowRecord(row)->local_file)) << number;
    }
    EXPECT_TRUE(Dialog().HeaderList().SelectedRows().empty());
    EXPECT_THAT(Status(), HasSubstr("Total messages: 3"));
    const std::vector<std::string> lines = server_.ReceivedLines();
    std::vector<std::string> received;
    for (size_t i = earlier_lines; i < lines.size(); ++i)
      if (lines[i].starts_with("TOP") || lines[i].starts_with("RETR")) received.push_back(lines[i]);
    EXPECT_EQ(received, commands);
  }
}

class AllAccountsTest : public MainWindowTest {
 protected:
  AllAccountsTest() {
    first_.ServeMailbox({MakeMessage("Anna <anna@example.org>", "A1", "Tue, 2 Mar 2004 10:00:00 +0100"),
                         MakeMessage("Anna <anna@example.org>", "A2", "Wed, 3 Mar 2004 10:00:00 +0100")});
    third_.ServeMailbox({MakeMessage("Carl <carl@example.org>", "C1", "Thu, 4 Mar 2004 10:00:00 +0100")});
    Configure("PeekTime=0\r\n");
    Profile().WriteInt(kMainWindowSection, "account", 3);  // "All Accounts"
  }
  // Account 2 has no stored login: an all-accounts peek skips it without asking.
  void Configure(const std::string& system_lines) {
    WriteConfig(system_lines, {"Home", "Work", "Club"},
                AccountSection(1, first_.Port()) + AccountSection(2, first_.Port(), "") +
                    AccountSection(3, third_.Port()));
  }
  FakePop3Server first_;
  FakePop3Server third_;
};

// One account after the other, and side by side.
class AllAccountsEitherWayTest : public AllAccountsTest, public ::testing::WithParamInterface<int> {
 protected:
  AllAccountsEitherWayTest() { Configure(FormatText("PeekTime=0\r\nParallelAccounts=%d\r\n", GetParam())); }
};
INSTANTIATE_TEST_SUITE_P(ParallelAccounts, AllAccountsEitherWayTest, ::testing::Values(1, 4));

TEST_P(AllAccountsEitherWayTest, VisitsEveryAccountWithCredentialsAndDisconnectsEach) {
  ASSERT_TRUE(Open());
  EXPECT_TRUE(Dialog().AllAccounts());
  EXPECT_FALSE(Window().IsEnabled(kDeleteButton));
  ASSERT_TRUE(PeekByConnect());

  EXPECT_TRUE(backend_.ModalRuns().empty());  // no login prompt for account 2
  ASSERT_EQ(RowCount(), 3);
  // Sorted by account, each account's rows by date.
  EXPECT_EQ(Cell(0, kAccountColumn), "Club");
  EXPECT_EQ(Cell(1, kSubjectColumn), "A2");
  EXPECT_EQ(Cell(2, kSubjectColumn), "A1");
  EXPECT_EQ(Dialog().RowRecord(0)->row_offset, 2);
  EXPECT_EQ(Dialog().RowRecord(0)->account_number, 3);
  EXPECT_EQ(Dialog().RowRecord(1)->row_offset, 0);
  EXPECT_EQ(Window().Title(), "(3) Larkspin-All Accounts");
  EXPECT_THAT(first_.ReceivedLines(), Contains("QUIT"));
  EXPECT_THAT(third_.ReceivedLines(), Contains("QUIT"));
  EXPECT_EQ(first_.ConnectionCount(), 1);
  EXPECT_FALSE(Dialog().Connected());
  // Side by side the status line names the accounts at work instead of where each one stands.
  EXPECT_EQ(::testing::Value(statuses_, Contains("Disconnecting from server...Ok")), GetParam() == 1);
  EXPECT_THAT(Status(), HasSubstr("Total messages: 3 "));
  EXPECT_TRUE(Window().IsEnabled(kConnectButton));
  EXPECT_FALSE(Window().IsEnabled(kDownloadButton));
  EXPECT_EQ(sound_.tones, 1);
}

// Side by side, the status line names the accounts still at work and the bar counts the headers
// of all of them; an account that ends leaves the line, and at the end the total takes its place.
TEST_F(AllAccountsTest, SideBySideTheStatusNamesTheAccountsAtWorkAndTheBarCountsEveryHeader) {
  first_.On("TOP 2 ", HeldReply("+OK\r\nFrom: Anna <anna@example.org>\r\nSubject: A2\r\n\r\n.\r\n"));
  third_.On("TOP 1 ", HeldReply("+OK\r\nFrom: Carl <carl@example.org>\r\nSubject: C1\r\n\r\n.\r\n"));
  ASSERT_TRUE(Open());
  ASSERT_TRUE(Window().Click(kConnectButton));
  const auto shows = [this](const std::string& status, int headers, int read) {
    return backend_.RunUntil(
        [&] {
          const ProgressBarState bar = Window().Progress(kProgressBar);
          return Status() == status && bar.upper == headers && bar.position == read;
        },
        std::chrono::seconds(10));
  };
  EXPECT_TRUE(shows("Reading headers from: Home, Club", 3, 1)) << Status();
  first_.ReleaseHeldReplies();
  EXPECT_TRUE(shows("Reading headers from: Club", 3, 2)) << Status();
  third_.ReleaseHeldReplies();
  ASSERT_TRUE(WaitForPeek());
  EXPECT_THAT(Status(), HasSubstr("Total messages: 3 "));
  EXPECT_EQ(RowCount(), 3);
}

// Under Count the notification names the message that came, in its own account, not the last
// rows of the whole list.
TEST_F(AllAccountsTest, NewMailIsNamedInTheAccountItCameTo) {
  ASSERT_TRUE(Open());
  ASSERT_TRUE(PeekByConnect());
  first_.ServeMailbox({MakeMessage("Anna <anna@example.org>", "A1", "Tue, 2 Mar 2004 10:00:00 +0100"),
                       MakeMessage("Anna <anna@example.org>", "A2", "Wed, 3 Mar 2004 10:00:00 +0100"),
                       MakeMessage("Bea <bea@example.org>", "A3", "Fri, 5 Mar 2004 10:00:00 +0100")});
  ASSERT_TRUE(PeekByConnect());
  EXPECT_EQ(sound_.tones, 2);
  ASSERT_EQ(backend_.Notifications().size(), 2u);
  EXPECT_EQ(backend_.Notifications()[0].title, "3 new messages");
  EXPECT_EQ(backend_.Notifications()[1].title, "1 new message");
  EXPECT_EQ(backend_.Notifications()[1].text, "Bea: A3\n1 account could not be checked: Work (no stored login)");
}

TEST_F(AllAccountsTest, TheStatusAndTheNotificationNameEachAccountThatCouldNotBeChecked) {
  constexpr int kRefusingPort = 1;  // nothing listens there
  WriteConfig("PeekTime=0\r\n", {"Home", "Work", "Club"},
              AccountSection(1, first_.Port()) + AccountSection(2, kRefusingPort) +
                  AccountSection(3, third_.Port(), ""));
  ASSERT_TRUE(Open());
  ASSERT_TRUE(PeekByConnect());
  const std::string failures = "2 accounts could not be checked: Work (connection refused), Club (no stored login)";
  EXPECT_THAT(Status(), HasSubstr("Total messages: 2 "));
  EXPECT_THAT(Status(), HasSubstr(failures));
  ASSERT_EQ(backend_.Notifications().size(), 1u);
  EXPECT_EQ(backend_.Notifications()[0].title, "2 new messages");
  EXPECT_THAT(backend_.Notifications()[0].text, HasSubstr("\n" + failures));
  EXPECT_EQ(Window().Title(), "(2) Larkspin-All Accounts");

  // Without new mail the notification names the failures alone.
  ASSERT_TRUE(PeekByConnect());
  ASSERT_EQ(backend_.Notifications().size(), 2u);
  EXPECT_EQ(backend_.Notifications()[1].text, failures);
}

TEST_F(AllAccountsTest, TheListMenuIsGreyed) {
  ASSERT_TRUE(Open());
  ASSERT_TRUE(PeekByConnect());
  SelectRows({0});
  ASSERT_TRUE(Window().RightClick(kHeaderList, {10, 20}));
  ASSERT_EQ(backend_.PopupMenus().size(), 1u);
  const std::vector<MenuItem>& items = backend_.PopupMenus()[0].menu.Items();
  ASSERT_EQ(items.size(), 10u);
  EXPECT_EQ(items[0].text, "Reset mail");
  EXPECT_TRUE(items[3].separator);
  for (const size_t i : {0u, 1u, 2u, 4u}) EXPECT_FALSE(items[i].enabled) << i;
  // The rules for a sender mark nothing: they stay at hand.
  for (const size_t i : {6u, 7u, 8u, 9u}) EXPECT_TRUE(items[i].enabled) << i;
}

TEST_F(AllAccountsTest, NoAccountsConfiguredPeeksNothing) {
  WriteConfig("PeekTime=0\r\n", {}, "");
  Profile().WriteInt(kMainWindowSection, "account", 0);
  ASSERT_TRUE(Open());
  ASSERT_EQ(Window().Control(kAccountSelector)->entries, std::vector<std::string>{"All Accounts"});
  ASSERT_TRUE(PeekByConnect());
  EXPECT_EQ(Status(), "Total messages: 0     Total size: 0.00 kbyte (0 byte)");
  EXPECT_EQ(first_.ConnectionCount(), 0);
}

}  // namespace
}  // namespace larkspin::test_support
