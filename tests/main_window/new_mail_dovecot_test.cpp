// New mail through the main window against a real Dovecot whose maildir changes between peeks:
// with NewMailBy=Uidl told by the messages' UIDL ids (the sound, the notification and bold rows),
// with Count by the total alone.
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>

#include "common/format.h"
#include "main_window/main_window_fixture.h"
#include "support/dovecot_server.h"

namespace larkspin::test_support {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Message(int n) {
  return MakeMessage(FormatText("Sender %d <s%d@example.org>", n, n), FormatText("Message %d", n),
                     FormatText("Mon, %d Mar 2026 10:00:00 +0100", n));
}

class NewMailTest : public MainWindowTest {
 protected:
  NewMailTest() {
    server_.AddUser("anna", "secret");
    for (int n = 1; n <= 3; ++n) server_.AddMessage("anna", Message(n));
    server_.Start();
  }
  void OpenWith(const std::string& rule) {
    WriteConfig("PeekTime=0\r\nNewMailBy=" + rule + "\r\n", {"Home"}, AccountSection(1, server_.Port()));
    ASSERT_TRUE(Open());
  }
  std::vector<std::string> BoldSubjects() {
    std::vector<std::string> subjects;
    for (int row = 0; row < RowCount(); ++row)
      if (Dialog().HeaderList().RowBold(row)) subjects.push_back(Cell(row, kSubjectColumn));
    return subjects;
  }
  // Peeks, logs out, and answers the subjects of the rows shown in bold, top to bottom.
  std::vector<std::string> PeekForBoldSubjects() {
    EXPECT_TRUE(PeekByConnect());
    EXPECT_TRUE(Window().Click(kDisconnectButton));
    return BoldSubjects();
  }

  DovecotServer server_;
};

TEST_F(NewMailTest, UidlTellsEachMessageNewOnceAndADeliveredOneAlone) {
  OpenWith("Uidl");
  EXPECT_THAT(PeekForBoldSubjects(), ElementsAre("Message 3", "Message 2", "Message 1"));
  EXPECT_EQ(sound_.tones, 1);
  EXPECT_THAT(PeekForBoldSubjects(), IsEmpty());
  EXPECT_EQ(sound_.tones, 1);

  server_.AddMessage("anna", Message(4));
  EXPECT_THAT(PeekForBoldSubjects(), ElementsAre("Message 4"));
  EXPECT_EQ(sound_.tones, 2);
  ASSERT_EQ(backend_.Notifications().size(), 2u);
  EXPECT_EQ(backend_.Notifications().back().title, "1 new message");
  EXPECT_EQ(backend_.Notifications().back().text, "Sender 4: Message 4");
  ASSERT_TRUE(Window().ClickColumn(kHeaderList, kSubjectColumn));
  EXPECT_EQ(Cell(3, kSubjectColumn), "Message 4") << "sorted by subject, the bold row went last";
  EXPECT_THAT(BoldSubjects(), ElementsAre("Message 4"));
  const std::string seen = ReadFile(folder_.File("mailbox1/seen-ids.list"));
  EXPECT_EQ(std::count(seen.begin(), seen.end(), '\n'), 4) << seen;
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandOffline));
  EXPECT_EQ(RowCount(), 0) << "the seen-ids file is no stored message";
}

struct SwapCase {
  const char* rule;
  int tones_after_swap;
  std::vector<std::string> bold_after_swap;
};

void PrintTo(const SwapCase& swap_case, std::ostream* out) { *out << swap_case.rule; }

class DeletedAndDeliveredTest : public NewMailTest, public ::testing::WithParamInterface<SwapCase> {};

// One message deleted and one delivered between two peeks: the total stays.
TEST_P(DeletedAndDeliveredTest, RingsOnlyWhenTheRuleSeesTheNewMessage) {
  OpenWith(GetParam().rule);
  PeekForBoldSubjects();
  std::filesystem::remove(server_.MessageFiles("anna").front());
  server_.AddMessage("anna", Message(4));
  const std::vector<std::string> bold = PeekForBoldSubjects();

  EXPECT_EQ(RowCount(), 3);
  EXPECT_EQ(sound_.tones, GetParam().tones_after_swap);
  EXPECT_EQ(backend_.Notifications().size(), static_cast<size_t>(GetParam().tones_after_swap));
  EXPECT_EQ(bold, GetParam().bold_after_swap);
}

INSTANTIATE_TEST_SUITE_P(Rules, DeletedAndDeliveredTest,
                         ::testing::Values(SwapCase{"Count", 1, {}}, SwapCase{"Uidl", 2, {"Message 4"}}),
                         [](const auto& info) { return std::string(info.param.rule); });

}  // namespace
}  // namespace larkspin::test_support
