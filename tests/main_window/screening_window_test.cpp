// The screening in the main window: rows marked and named by the rules of rules.txt as the peek
// lists them, the record of their deletion, rules added from the list's pop-up menu, the Deleted
// view, and auto rules at automatic peeks.
#include <gmock/gmock.h>

#include "common/format.h"
#include "main_window/main_window_fixture.h"
#include "peek/deleted_log.h"
#include "res/resources.h"
#include "support/fake_pop3_server.h"

namespace larkspin::test_support {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

// From, subject; message n is dated n March, so the list shows them 5, 4, 3, 2, 1 from the top.
const std::pair<const char*, const char*> kMessages[] = {
    {"Casino <win@casino.example>", "You won"},    {"Boss <boss@company.example>", "Plan"},
    {"Billing <bills@billing.example>", "Your invoice"}, {"Friend <friend@casino.example>", "Lunch"},
    {"Stranger <x@stranger.example>", "Hello"}};

class ScreeningWindowTest : public MainWindowTest {
 protected:
  ScreeningWindowTest() {
    std::vector<std::string> messages;
    int day = 0;
    for (const auto& [from, subject] : kMessages)
      messages.push_back(MakeMessage(from, subject, FormatText("Mon, %d Mar 2004 10:00:00 +0100", ++day)));
    server_.ServeMailbox(messages);
    WriteFile(folder_.File("address.txt"), "Friend*friend@casino.example\r\n");
  }
  void OpenWithRules(const std::string& rules, const std::string& system_lines = "PeekTime=0\r\n") {
    WriteFile(folder_.File("rules.txt"), rules);
    WriteConfig(system_lines, {"Home"}, AccountSection(1, server_.Port()));
    ASSERT_TRUE(Open());
  }
  std::vector<std::string> Deletions() {
    std::vector<std::string> deletions;
    for (const std::string& line : server_.ReceivedLines())
      if (line.rfind("DELE", 0) == 0) deletions.push_back(line);
    return deletions;
  }
  FakePop3Server server_;
};

TEST_F(ScreeningWindowTest, RulesMarkAndNameTheRowsAndTheDeletionIsRecordedWithItsRule) {
  OpenWithRules("allow    \"The boss\"  from boss@company.example\n"
                "delete   \"Casino\"    from @casino.example\n"
                "download \"Invoices\"  from *@billing.example  subject invoice\n");
  ASSERT_TRUE(PeekByConnect());
  struct Row {
    int message;
    int icon;
    const char* signals_column;
  };
  for (const Row& row : {Row{1, kIconRowDeleteMark, "Casino"}, Row{2, kIconRowOnServer, "The boss"},
                         Row{3, kIconRowDownloadMark, "Invoices"}, Row{4, kIconRowOnServer, "address book"},
                         Row{5, kIconRowOnServer, ""}}) {
    SCOPED_TRACE(row.message);
    EXPECT_EQ(Icon(RowOfMessage(row.message)), row.icon);
    EXPECT_EQ(Cell(RowOfMessage(row.message), kSignalsColumn), row.signals_column);
  }
  // The row's tool tip says why; a row no rule or signal speaks of has none.
  EXPECT_THAT(Window().List(kHeaderList)->Row(RowOfMessage(1)).tool_tip, HasSubstr("Rule \"Casino\" (delete) applies."));
  EXPECT_EQ(Window().List(kHeaderList)->Row(RowOfMessage(5)).tool_tip, "");
  EXPECT_THAT(Status(), HasSubstr("Rules: Casino 1 marked for deletion; Invoices 1 for download; "
                                  "address book 1, The boss 1 trusted"));

  // The user's Disconnect asks as for marks by hand; the record names the rule.
  ASSERT_TRUE(Window().Click(kDisconnectButton));
  EXPECT_THAT(MessageBoxTexts(), Contains(HasSubstr("delete the marked 1 email(s)")));
  EXPECT_THAT(Deletions(), ElementsAre("DELE 1"));
  const std::vector<DeletedMessage> record = ReadDeletedLog(folder_.File("deleted.log"));
  ASSERT_EQ(record.size(), 1u);
  EXPECT_EQ(record[0].rule, "Casino");
  EXPECT_EQ(record[0].subject, "You won");

  // The Deleted view lists it, with the rule in the last column.
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandDeleted));
  ASSERT_EQ(RowCount(), 1);
  EXPECT_EQ(Cell(0, kSubjectColumn), "You won");
  EXPECT_EQ(Cell(0, kSignalsColumn), "Casino");
}

TEST_F(ScreeningWindowTest, BlockSenderMarksTheSenderAtTheNextPeekAndABrokenFileMarksNothing) {
  OpenWithRules("# nothing yet\n");
  ASSERT_TRUE(PeekByConnect());
  SelectRows({RowOfMessage(5)});
  backend_.QueuePopupChoice(kCommandBlockSender);
  ASSERT_TRUE(Window().RightClick(kHeaderList, {5, 5}));
  EXPECT_EQ(ReadFile(folder_.File("rules.txt")),
            "# nothing yet\ndelete \"Blocked sender x@stranger.example\" from x@stranger.example\n");
  ASSERT_TRUE(Window().Click(kDisconnectButton));
  ASSERT_TRUE(PeekByConnect());
  EXPECT_EQ(Icon(RowOfMessage(5)), kIconRowDeleteMark);
  EXPECT_EQ(Icon(RowOfMessage(1)), kIconRowOnServer);

  // A line that cannot be read makes the whole file count as absent, and says where.
  SelectRows({RowOfMessage(5)});
  ASSERT_TRUE(Window().Click(kResetButton) && Window().Click(kDisconnectButton));
  WriteFile(folder_.File("rules.txt"), "delete \"All\" size > 0\nfrobnicate \"Oops\" from a@b.example\n");
  ASSERT_TRUE(PeekByConnect());
  for (int message = 1; message <= 5; ++message) EXPECT_NE(Icon(RowOfMessage(message)), kIconRowDeleteMark) << message;
  EXPECT_THAT(Status(), HasSubstr("rules.txt line 2: "));
  EXPECT_THAT(LogText(), HasSubstr("rules.txt line 2: "));
}

TEST_F(ScreeningWindowTest, AnAutoRuleDeletesAtAnAutomaticPeekWithoutAsking) {
  OpenWithRules("delete auto \"Casino\" from @casino.example\n", "PeekTime=1\r\n");
  ASSERT_TRUE(Window().FireTimer(kCountdownTimer));
  ASSERT_TRUE(WaitForPeek());
  EXPECT_THAT(Deletions(), ElementsAre("DELE 1"));  // the friend in the address book stays
  EXPECT_THAT(MessageBoxTexts(), Not(Contains(HasSubstr("delete the marked"))));
  ASSERT_EQ(ReadDeletedLog(folder_.File("deleted.log")).size(), 1u);
}

}  // namespace
}  // namespace larkspin::test_support
