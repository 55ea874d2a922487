// The Drafts view: a draft saved by the compose window is listed, opens again into the compose
// window on a double-click, and leaves the view once it is sent.
#include <gtest/gtest.h>

#include "common/format.h"
#include "compose_window/dlg_send.h"
#include "main_window/main_window_fixture.h"
#include "support/fake_smtp_server.h"

namespace larkspin::test_support {
namespace {

struct TypedFields {
  int id;
  std::string text;
};

class DraftsViewTest : public MainWindowTest {
 protected:
  DraftsViewTest() {
    smtp_.AcceptMail();
    WriteConfig("PeekTime=0\r\n", {"Home"},
                AccountSection(1, 0) +
                    FormatText("SMTPHost=127.0.0.1\r\nSMTPPort=%d\r\nMailAddress=anna@example.org\r\n", smtp_.Port()));
    WriteFile(folder_.File("attached.txt"), "attached");
  }

  const std::vector<TypedFields> typed_{
      {kSendToField, "bob@example.org; carl@example.org"}, {kSendCcField, "cc@example.org"},
      {kSendBccField, "bcc@example.org"},                  {kSendSubjectField, "Plans"},
      {kSendMessageText, "Line one\r\nLine two\r\n"},       {kSendAttachField, folder_.File("attached.txt")},
  };
  FakeSmtpServer smtp_;
};

TEST_F(DraftsViewTest, ASavedDraftIsListedOpensWithEveryFieldAndLeavesTheViewWhenSent) {
  ASSERT_TRUE(Open());
  backend_.QueueModalScript([&](CHeadlessWindow& window) {
    for (const TypedFields& field : typed_) window.Type(field.id, field.text);
  });  // the script's end presses Escape; Yes, the default answer, saves the draft
  ASSERT_TRUE(Window().Click(kComposeButton));
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandDrafts));
  EXPECT_TRUE(Window().Menu().FindCommand(kCommandDrafts)->checked);
  ASSERT_EQ(RowCount(), 1);
  EXPECT_EQ(Cell(0, kFromColumn), "bob@example.org; carl@example.org");
  EXPECT_EQ(Cell(0, kSubjectColumn), "Plans");
  EXPECT_EQ(Window().Title(), "(1) Larkspin-Home");

  std::vector<std::string> shown;
  backend_.QueueModalScript([&](CHeadlessWindow& window) {
    for (const TypedFields& field : typed_) shown.push_back(window.Text(field.id));
    EXPECT_EQ(static_cast<CDlgSend&>(window.Dialog()).Identity().account_number, 1);
    EXPECT_TRUE(window.Click(kSendButton));
  });
  SelectRows({0});
  ASSERT_TRUE(Window().DoubleClick(kHeaderList));
  for (size_t i = 0; i < typed_.size(); ++i) EXPECT_EQ(shown.at(i), typed_[i].text) << typed_[i].id;
  ASSERT_EQ(smtp_.ReceivedData().size(), 1u);
  EXPECT_NE(smtp_.ReceivedData()[0].find("attached.txt"), std::string::npos);
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(MessageBoxTexts().size(), 2u);  // the question and the send's success
  EXPECT_TRUE(opened_messages_.empty());
}

TEST_F(DraftsViewTest, ConnectFromTheDraftsViewLeavesItForTheOnlineView) {
  ASSERT_TRUE(Open());
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandDrafts));
  ASSERT_TRUE(Window().Click(kConnectButton));
  ASSERT_TRUE(WaitForPeek());
  EXPECT_EQ(Dialog().FolderView(), MailboxView::kOnline);
  EXPECT_FALSE(Window().Menu().FindCommand(kCommandDrafts)->checked);
  EXPECT_TRUE(Window().Menu().FindCommand(kCommandOnline)->checked);
}

}  // namespace
}  // namespace larkspin::test_support
