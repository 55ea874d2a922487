// Reading stored files from the main window: a double-clicked row in the message view, the
// log in a modal view, emptying the log, the attachment picker and the disclaimer.
#include <gmock/gmock.h>
#include <sys/stat.h>

#include "common/format.h"
#include "common/message_box.h"
#include "config/log.h"
#include "main_window/main_window_fixture.h"
#include "platform/file_system.h"
#include "res/resources.h"
#include "support/fake_pop3_server.h"
#include "widgets/desktop_open.h"

namespace larkspin::test_support {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr const char* kStoredName = "msg02_03_2004_10_00_00_+0100.txt";

class MessageViewTest : public MainWindowTest {
 protected:
  MessageViewTest() {
    server_.ServeMailbox({MakeMessage("Sender <s@example.org>", "Day 1", "Mon, 1 Mar 2004 10:00:00 +0100"),
                          MakeMessage("Sender <s@example.org>", "Day 2", "Tue, 2 Mar 2004 10:00:00 +0100")});
    WriteConfig("PeekTime=0\r\n", {"Home"}, AccountSection(1, server_.Port()));
  }
  void OpenAndPeek() {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(PeekByConnect());
    ASSERT_EQ(RowCount(), 2);
  }
  void DoubleClickRow(int row) {
    SelectRows({row});
    ASSERT_TRUE(Window().DoubleClick(kHeaderList));
  }
  CHeadlessWindow* View() { return backend_.Find(kDialogFileView); }

  FakePop3Server server_;
};

TEST_F(MessageViewTest, ADoubleClickedRowIsShownInTheOneViewFromTheOnlineAndOfflineViews) {
  use_message_view_ = true;
  OpenAndPeek();
  ASSERT_NE(View(), nullptr) << "the hidden view is made at start";
  EXPECT_FALSE(View()->IsShown());
  DoubleClickRow(RowOfMessage(2));
  ASSERT_TRUE(View()->IsShown());
  EXPECT_EQ(View()->Title(), "Message From:Sender (Day 2)");
  EXPECT_THAT(View()->Text(kFileViewText), HasSubstr("Subject: Day 2"));
  ASSERT_TRUE(View()->Click(kFileViewCloseButton));
  EXPECT_FALSE(View()->IsShown());

  ASSERT_TRUE(Window().ChooseMenuItem(kCommandOffline));
  ASSERT_EQ(RowCount(), 1);
  DoubleClickRow(0);
  EXPECT_TRUE(View()->IsShown());
  EXPECT_THAT(View()->Text(kFileViewText), HasSubstr("Subject: Day 2"));
  EXPECT_THAT(MessageBoxTexts(), IsEmpty());
}

TEST_F(MessageViewTest, ABoxNoWindowAsksForOpensAboveTheWindowTheUserActsIn) {
  use_message_view_ = true;
  OpenAndPeek();
  DoubleClickRow(0);
  ASSERT_TRUE(View()->IsShown());
  ASSERT_TRUE(View()->Click(kFileViewPrintButton));  // the user acts in the view (and cancels the print)
  ShowOpenFailure("Could not open the attachment 'a.pdf':", 2);
  ASSERT_EQ(backend_.MessageBoxes().size(), 1u);
  EXPECT_EQ(backend_.MessageBoxes()[0].owner, View());
  ASSERT_TRUE(View()->Click(kFileViewCloseButton));
  ShowOpenFailure("Could not open the attachment 'a.pdf':", 2);
  ASSERT_EQ(backend_.MessageBoxes().size(), 2u);
  EXPECT_EQ(backend_.MessageBoxes()[1].owner, &Window()) << "a hidden view hands the boxes to its window";
}

TEST_F(MessageViewTest, TheSentViewPassesNoAttachmentFolder) {
  ASSERT_TRUE(Open());
  MakeFolder(folder_.File("mailbox1"));
  MakeFolder(folder_.File("mailbox1/sent"));
  WriteFile(folder_.File("mailbox1/sent/copy.txt"), "To: Bert <b@example.org>\r\nSubject: Minutes\r\n\r\nText");
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandSent));
  DoubleClickRow(0);
  ASSERT_EQ(opened_messages_.size(), 1u);
  EXPECT_EQ(opened_messages_[0].attachment_folder, "");
  EXPECT_EQ(opened_messages_[0].file_name, folder_.File("mailbox1/sent/copy.txt"));
  EXPECT_EQ(opened_messages_[0].subject, "Minutes");
}

TEST_F(MessageViewTest, AFailedDownloadKeepsTheServerIconAndOpensNothing) {
  const struct {
    const char* name;
    bool refuse_retr;
  } cases[] = {{"RETR refused", true}, {"file not writable", false}};
  for (const auto& c : cases) {
    FakePop3Server server;
    server.ServeMailbox({MakeMessage("Sender <s@example.org>", "Day 2", "Tue, 2 Mar 2004 10:00:00 +0100")});
    if (c.refuse_retr) server.On("RETR", Reply("-ERR gone\r\n"));
    WriteConfig("PeekTime=0\r\n", {"Home"}, AccountSection(1, server.Port()));
    MakeFolder(folder_.File("mailbox1"));
    if (!c.refuse_retr) MakeFolder(folder_.File(std::string("mailbox1/") + kStoredName));  // a folder in the file's place
    ASSERT_TRUE(Open());
    ASSERT_TRUE(PeekByConnect());
    DoubleClickRow(0);
    EXPECT_EQ(Icon(0), kIconRowOnServer) << c.name;
    EXPECT_THAT(opened_messages_, IsEmpty()) << c.name;
    Close();
  }
}

TEST_F(MessageViewTest, ADoubleClickDuringAPeekOnAMessageNotStoredSaysWhenItCanBeOpened) {
  server_.On("TOP 2", LateReply("+OK\r\nSubject: Day 2\r\nDate: Tue, 2 Mar 2004 10:00:00 +0100\r\n\r\n.\r\n", 1500));
  ASSERT_TRUE(Open());
  ASSERT_TRUE(Window().Click(kConnectButton));
  ASSERT_TRUE(backend_.RunUntil([&] { return RowCount() >= 1; }, std::chrono::seconds(10)));
  ASSERT_TRUE(Dialog().PeekRunning());
  DoubleClickRow(0);
  EXPECT_EQ(Status(), "The message can be opened when the peek has ended.");
  ASSERT_TRUE(WaitForPeek());
  EXPECT_THAT(opened_messages_, IsEmpty());
}

TEST_F(MessageViewTest, TheLogIsShownModallyAndALaterLineLandsInTheSameFile) {
  ASSERT_TRUE(Open());
  backend_.QueueModalScript([](CHeadlessWindow& view) {
    EXPECT_EQ(view.Title(), "Message From:Larkspin (Logfile)");
    EXPECT_THAT(view.Text(kFileViewText), HasSubstr("started + + +"));
    view.Click(kFileViewCloseButton);
  });
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandLogfile));
  LogEvent("written after the view closed");
  EXPECT_THAT(LogText(), HasSubstr("started + + +"));
  EXPECT_THAT(LogText(), HasSubstr("written after the view closed"));
}

TEST_F(MessageViewTest, EmptyLogfileAsksTheQuestionOfConfigIniAndEmptiesOnlyOnYes) {
  WriteConfig("PeekTime=0\r\n", {"Home"}, AccountSection(1, server_.Port()) + "[Messages]\r\nEmptyLogfile=Clear it?\r\n");
  ASSERT_TRUE(Open());
  backend_.QueueMessageBoxAnswer(kButtonNo);
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandEmptyLogfile));
  EXPECT_THAT(LogText(), HasSubstr("started"));
  backend_.QueueMessageBoxAnswer(kButtonYes);
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandEmptyLogfile));
  EXPECT_EQ(LogText(), "");
  EXPECT_THAT(MessageBoxTexts(), ElementsAre("Clear it?", "Clear it?"));
  EXPECT_EQ(backend_.MessageBoxes().back().style, kBoxYesNo | kBoxIconQuestion);
  LogEvent("after emptying");
  EXPECT_THAT(LogText(), HasSubstr("after emptying"));
}

TEST_F(MessageViewTest, AttachmentsPicksFromTheAttachFolderAndHandsTheFileToTheDesktop) {
  MakeFolder(folder_.File("mailbox1"));
  MakeFolder(folder_.File("mailbox1/attach"));
  WriteFile(folder_.File("mailbox1/attach/plan.pdf"), "%PDF");
  ASSERT_TRUE(Open());
  backend_.QueueModalScript([](CHeadlessWindow& picker) { picker.DoubleClick(kAttachmentFileList); });
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandAttachments));
  EXPECT_THAT(desktop_opened_, IsEmpty()) << "a double-click on empty space gives the empty result";

  backend_.QueueModalScript([](CHeadlessWindow& picker) {
    picker.SelectRows(kAttachmentFileList, {0});
    picker.Click(kIdOk);
  });
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandAttachments));
  EXPECT_THAT(desktop_opened_, ElementsAre(folder_.Path() + "/mailbox1/attach/plan.pdf"));

  ASSERT_TRUE(Window().ChooseMenuItem(kCommandAttachments)) << "Escape: nothing opened";
  EXPECT_EQ(desktop_opened_.size(), 1u);
}

TEST_F(MessageViewTest, TheAboutBoxShowsTheDisclaimer) {
  WriteFile(folder_.File("disclaimer.txt"), "No warranty.\r\n");
  ASSERT_TRUE(Open());
  backend_.QueueModalScript([](CHeadlessWindow& about) { about.Click(kAboutDisclaimerButton); });
  backend_.QueueModalScript([](CHeadlessWindow& view) {
    EXPECT_EQ(view.Title(), "Message From:Larkspin (Disclaimer)");
    EXPECT_THAT(view.Text(kFileViewText), HasSubstr("No warranty."));
  });
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandInfo));
  EXPECT_EQ(backend_.ModalRuns(), (std::vector<int>{kDialogAbout, kDialogFileView}));
}

}  // namespace
}  // namespace larkspin::test_support
