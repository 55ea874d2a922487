// Marks on the header list and how they are carried out: by Disconnect, and by the next peek.
#include <gmock/gmock.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "common/format.h"
#include "common/message_box.h"
#include "main_window/main_window_fixture.h"
#include "platform/file_system.h"
#include "res/resources.h"
#include "support/fake_pop3_server.h"

namespace larkspin::test_support {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsSupersetOf;
using ::testing::Not;

std::vector<std::string> Deletions(const std::vector<std::string>& lines) {
  std::vector<std::string> deletions;
  for (const std::string& line : lines)
    if (line.rfind("DELE", 0) == 0) deletions.push_back(line);
  return deletions;
}

class MarksTest : public MainWindowTest {
 protected:
  // Five messages whose dates put them into the list in the order 5, 4, 3, 2, 1.
  MarksTest() {
    std::vector<std::string> messages;
    for (int day = 1; day <= 5; ++day)
      messages.push_back(MakeMessage("Sender <s@example.org>", "Day " + std::to_string(day),
                                     FormatText("Mon, %d Mar 2004 10:00:00 +0100", day)));
    server_.ServeMailbox(messages);
  }
  void OpenAndPeek(const std::string& system_lines = "PeekTime=0\r\n") {
    WriteConfig(system_lines, {"Home"}, AccountSection(1, server_.Port()));
    ASSERT_TRUE(Open());
    ASSERT_TRUE(PeekByConnect());
    ASSERT_EQ(RowCount(), 5);
  }
  // Runs the disconnect command the way the peek worker does, from another thread, so that
  // every status text it shows can be read while it runs.
  void DisconnectRecordingStatus() {
    statuses_.clear();
    std::atomic<bool> done{false};
    std::thread worker([&] {
      Dialog().Disconnect();
      done = true;
    });
    backend_.RunUntil(
        [&] {
          if (statuses_.empty() || statuses_.back() != Status()) statuses_.push_back(Status());
          return done.load();
        },
        std::chrono::seconds(10));
    worker.join();
  }
  FakePop3Server server_;
};

TEST_F(MarksTest, EscapeKeepsTheWindowAndTheCloseBoxFollowsTheCloseButton) {
  OpenAndPeek();
  SelectRows({0});
  ASSERT_TRUE(Window().Click(kDeleteButton));
  ASSERT_FALSE(Window().IsEnabled(kCloseButton));
  for (const bool busy : {true, false}) {
    SCOPED_TRACE(busy ? "busy" : "idle");
    if (!busy) ASSERT_TRUE(Window().Click(kResetButton) && Window().Click(kDisconnectButton));
    ASSERT_TRUE(Window().PressEscape());
    EXPECT_FALSE(Window().HasEnded());
    ASSERT_TRUE(Window().PressCloseBox());
    EXPECT_EQ(Window().HasEnded(), !busy);
  }
}

TEST_F(MarksTest, DeleteResetAndDownloadSetIconsAndMarks) {
  OpenAndPeek();
  SelectRows({0, 1});
  ASSERT_TRUE(Window().Click(kDownloadButton));
  EXPECT_EQ(Icon(0), kIconRowDownloadMark);
  ASSERT_TRUE(Window().Click(kDeleteButton));
  EXPECT_EQ(Icon(0), kIconRowDeleteMark);
  EXPECT_EQ(Dialog().RowRecord(1)->delete_mark, 1);
  EXPECT_EQ(Dialog().RowRecord(1)->download_mark, 0);
  EXPECT_EQ(Dialog().HeaderList().SelectedRows(), (std::vector<int>{0, 1}));  // selected again

  // Download leaves a delete mark in place; Reset clears both.
  SelectRows({1});
  ASSERT_TRUE(Window().Click(kDownloadButton));
  EXPECT_EQ(Dialog().RowRecord(1)->delete_mark, 1);
  EXPECT_EQ(Dialog().RowRecord(1)->download_mark, 1);
  ASSERT_TRUE(Window().Click(kResetButton));
  EXPECT_EQ(Icon(1), kIconRowOnServer);
  EXPECT_EQ(Dialog().RowRecord(1)->delete_mark + Dialog().RowRecord(1)->download_mark, 0);

  // The pop-up menu carries the same commands.
  backend_.QueuePopupChoice(kCommandMarkForDeletion);
  SelectRows({2});
  ASSERT_TRUE(Window().RightClick(kHeaderList, {5, 5}));
  EXPECT_EQ(Icon(2), kIconRowDeleteMark);
}

TEST_F(MarksTest, DownloadedRowsRefuseTheDownloadMarkAndResetToStored) {
  OpenAndPeek();
  SelectRows({0});
  ASSERT_TRUE(Window().DoubleClick(kHeaderList));  // connected: downloads it
  ASSERT_EQ(Icon(0), kIconRowStored);
  SelectRows({0, 1});
  ASSERT_TRUE(Window().Click(kDownloadButton));
  EXPECT_THAT(MessageBoxTexts(), ElementsAre("Message already downloaded."));
  EXPECT_EQ(Icon(0), kIconRowStored);
  EXPECT_EQ(Icon(1), kIconRowDownloadMark);
  SelectRows({0});
  ASSERT_TRUE(Window().Click(kDeleteButton));
  ASSERT_TRUE(Window().Click(kResetButton));
  EXPECT_EQ(Icon(0), kIconRowStored);
}

TEST_F(MarksTest, DisconnectDeletesByServerNumberAndReportsListPositions) {
  OpenAndPeek();
  // List positions 2, 4 and 5 (from 1) hold messages 4, 2 and 1.
  SelectRows({1, 3, 4});
  ASSERT_TRUE(Window().Click(kDeleteButton));
  DisconnectRecordingStatus();

  ASSERT_EQ(backend_.MessageBoxes().size(), 1u);
  EXPECT_EQ(backend_.MessageBoxes()[0].text,
            "Are you sure you want to delete the marked 3 email(s) from the server ?");
  EXPECT_THAT(Deletions(server_.ReceivedLines()), ElementsAre("DELE 4", "DELE 2", "DELE 1"));
  EXPECT_THAT(server_.ReceivedLines().back(), "QUIT");
  ASSERT_EQ(RowCount(), 2);
  EXPECT_EQ(Cell(0, kSubjectColumn), "Day 5");
  EXPECT_EQ(Cell(1, kSubjectColumn), "Day 3");
  EXPECT_EQ(Window().Title(), "(2) Larkspin");
  EXPECT_EQ(Status(), "Disconnecting from server...Ok");
  EXPECT_THAT(LogText(), HasSubstr("3 message(s) deleted from server - Logout."));
  // Positions shift as rows disappear; the DELE commands carry the rows' own numbers.
  EXPECT_THAT(statuses_, IsSupersetOf({"Delete message 2 from server", "Delete message 3 from server"}));
  EXPECT_THAT(statuses_, Not(Contains("Delete message 4 from server")));
  EXPECT_THAT(statuses_, Not(Contains("Delete message 5 from server")));
}

TEST_F(MarksTest, DisconnectAnsweredNoChangesNothing) {
  OpenAndPeek();
  SelectRows({0});
  ASSERT_TRUE(Window().Click(kDeleteButton));
  backend_.QueueMessageBoxAnswer(kButtonNo);
  ASSERT_TRUE(Window().Click(kDisconnectButton));
  EXPECT_THAT(Deletions(server_.ReceivedLines()), ::testing::IsEmpty());
  EXPECT_THAT(server_.ReceivedLines(), Not(Contains("QUIT")));
  EXPECT_EQ(RowCount(), 5);
  EXPECT_TRUE(Dialog().Connected());
  EXPECT_TRUE(Window().IsEnabled(kDisconnectButton));
}

// The window makes the box's text from its language.ini.
TEST_F(MarksTest, ConnectFirstIsShownInTheWindowsLanguage) {
  WriteFile(folder_.File("language.ini"), "[Messages]\r\nConnectFirst=Erst verbinden.\r\n");
  OpenAndPeek();
  ASSERT_TRUE(Window().Click(kDisconnectButton));
  SelectRows({1});
  ASSERT_TRUE(Window().DoubleClick(kHeaderList));
  EXPECT_THAT(MessageBoxTexts(), Contains("Erst verbinden."));
  EXPECT_EQ(Status(), "Connect first to download this message.");
}

TEST_F(MarksTest, RefusedDeleteStopsTheLoopButStillLogsOut) {
  OpenAndPeek();
  server_.On("DELE 2", Reply("-ERR no such message\r\n"));
  SelectRows({0, 3, 4});  // messages 5, 2, 1
  ASSERT_TRUE(Window().Click(kDeleteButton));
  ASSERT_TRUE(Window().Click(kDisconnectButton));
  EXPECT_THAT(MessageBoxTexts(), Contains("Error Delete: -ERR no such message"));
  EXPECT_THAT(Deletions(server_.ReceivedLines()), ElementsAre("DELE 5", "DELE 2"));
  EXPECT_EQ(RowCount(), 4);  // the failing row and the later one keep their marks
  EXPECT_EQ(Dialog().RowRecord(3)->delete_mark, 1);
  EXPECT_THAT(server_.ReceivedLines().back(), "QUIT");
  EXPECT_FALSE(Window().IsEnabled(kDisconnectButton));
}

TEST_F(MarksTest, TheNextPeekCarriesOutMarksLeftFromTheLastOne) {
  OpenAndPeek("PeekTime=1\r\n");
  ASSERT_TRUE(Window().Click(kDisconnectButton));
  SelectRows({0});  // message 5
  ASSERT_TRUE(Window().Click(kDownloadButton));
  SelectRows({4});  // message 1
  ASSERT_TRUE(Window().Click(kDeleteButton));

  ASSERT_TRUE(Window().FireTimer(kCountdownTimer));  // the countdown reaches 0
  ASSERT_TRUE(WaitForPeek());
  const std::vector<std::string> lines = server_.ReceivedLines();
  const auto position = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
  EXPECT_LT(position("RETR 5"), position("DELE 1"));
  EXPECT_EQ(server_.ConnectionCount(), 3);  // Connect, the countdown's peek, its new login after DELE
  EXPECT_THAT(LogText(), HasSubstr("1 messages have been removed from server"));
  EXPECT_TRUE(FileExists(folder_.File("mailbox1/msg05_03_2004_10_00_00_+0100.txt")));
  EXPECT_EQ(RowCount(), 5);  // the fake server keeps its messages: the list is filled afresh
  EXPECT_FALSE(Dialog().Connected());  // an automatic peek ends with the disconnect command
}

TEST_F(MarksTest, DoubleClickDownloadsAndOpensTheMessage) {
  OpenAndPeek();
  SelectRows({2});
  ASSERT_TRUE(Window().DoubleClick(kHeaderList));
  EXPECT_THAT(server_.ReceivedLines(), Contains("RETR 3"));
  EXPECT_EQ(Icon(2), kIconRowStored);
  EXPECT_EQ(Dialog().HeaderList().SelectedRows(), std::vector<int>{2});
  ASSERT_EQ(opened_messages_.size(), 1u);
  EXPECT_EQ(opened_messages_[0].subject, "Day 3");
  EXPECT_EQ(opened_messages_[0].sender, "Sender");
  EXPECT_EQ(opened_messages_[0].attachment_count, 0);
  EXPECT_EQ(opened_messages_[0].file_name, Dialog().RowRecord(2)->local_file);
  EXPECT_EQ(opened_messages_[0].attachment_folder, folder_.Path() + "/mailbox1");
  EXPECT_TRUE(Window().IsTimerRunning(kIdleTimer));

  // Not connected and not downloaded: the user is told to connect first; nothing opens.
  ASSERT_TRUE(Window().Click(kDisconnectButton));
  SelectRows({1});
  ASSERT_TRUE(Window().DoubleClick(kHeaderList));
  EXPECT_THAT(MessageBoxTexts(), Contains("Connect first to download this message."));
  EXPECT_EQ(Status(), "Connect first to download this message.");
  EXPECT_EQ(opened_messages_.size(), 1u);
  EXPECT_EQ(Icon(1), kIconRowOnServer);
}

TEST_F(MarksTest, ConnectFromTheOfflineViewMarksServerRowsInsteadOfRemovingFiles) {
  WriteConfig("PeekTime=0\r\n", {"Home"}, AccountSection(1, server_.Port()));
  ASSERT_TRUE(Open());
  const std::string stored = folder_.File("mailbox1/msg01_03_2004_10_00_00_+0100.txt");
  WriteFile(stored, "From: Sender <s@example.org>\r\nTo: b@example.org\r\nSent: Mon, 1 Mar 2004 10:00:00 +0100\r\n"
                    "Subject: Day 1\r\nPriority: 3\r\n\r\nText");
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandOffline));
  ASSERT_EQ(RowCount(), 1);
  ASSERT_TRUE(PeekByConnect());
  EXPECT_EQ(Dialog().FolderView(), MailboxView::kOnline);
  const int row = RowOfMessage(1);
  ASSERT_EQ(Icon(row), kIconRowStored);
  SelectRows({row});
  ASSERT_TRUE(Window().Click(kDeleteButton));
  EXPECT_EQ(Icon(row), kIconRowDeleteMark);
  EXPECT_TRUE(FileExists(stored));
  EXPECT_EQ(RowCount(), 5);
}

TEST_F(MarksTest, CloseLeavesMarkedMessagesOnTheServer) {
  OpenAndPeek();
  ASSERT_TRUE(Window().Click(kDisconnectButton));
  SelectRows({0});
  ASSERT_TRUE(Window().Click(kDeleteButton));
  ASSERT_TRUE(Window().Click(kCloseButton));
  EXPECT_TRUE(Window().HasEnded());
  EXPECT_EQ(RowCount(), 0);
  EXPECT_THAT(Deletions(server_.ReceivedLines()), ::testing::IsEmpty());
}

TEST_F(MarksTest, AddSenderAppendsToTheAddressBook) {
  OpenAndPeek();
  SelectRows({0});
  backend_.QueueModalScript([](CHeadlessWindow& input) {
    EXPECT_EQ(input.Title(), "Add Sender to Address Book");
    EXPECT_EQ(input.Text(kInputField), "Sender*s@example.org");
    input.Type(kInputField, "Sally Sender*s@example.org");
    input.Click(kIdOk);
  });
  backend_.QueuePopupChoice(kCommandAddSender);
  ASSERT_TRUE(Window().RightClick(kHeaderList, {5, 5}));
  EXPECT_EQ(ReadFile(folder_.File("address.txt")), "Sally Sender*s@example.org\r\n");
}

}  // namespace
}  // namespace larkspin::test_support
