// The address menu beside To, Cc and Bcc, read from address.txt each time it opens.
#include <gtest/gtest.h>

#include "compose_window/compose_window_fixture.h"
#include "res/control_ids.h"

namespace larkspin::test_support {
namespace {

using AddressMenuTest = ComposeWindowTest;

std::vector<std::string> MenuTexts(const CMenu& menu) {
  std::vector<std::string> texts;
  for (const MenuItem& item : menu.Items()) texts.push_back(item.separator ? "-" : item.text);
  return texts;
}

TEST_F(AddressMenuTest, ListsTheEntriesInByteOrderAndJoinsPicksWithASemicolon) {
  WriteFile(folder_.File("address.txt"), "zoe*zoe@example.org\nAnna*anna@example.org\nno address*here\n"
                                         "Two*Stars*two@example.org\nbob*bob@example.or");
  backend_.QueuePopupChoice(kFirstAddressCommand + 0);
  backend_.QueuePopupChoice(kFirstAddressCommand + 3);
  backend_.QueuePopupChoice(kFirstAddressCommand + 1);
  Compose([](CHeadlessWindow& window) {
    window.Click(kSendCcAddressButton);
    window.Click(kSendCcAddressButton);
    EXPECT_EQ(window.Text(kSendCcField), "anna@example.org; zoe@example.org");
    window.Type(kSendBccField, "");
    window.Click(kSendBccAddressButton);
    EXPECT_EQ(window.Text(kSendBccField), "Stars\ttwo@example.org");
    EXPECT_EQ(window.FocusedControl(), kSendBccField);
  });
  ASSERT_EQ(backend_.PopupMenus().size(), 3u);
  EXPECT_EQ(MenuTexts(backend_.PopupMenus()[0].menu),
            (std::vector<std::string>{"Anna\tanna@example.org", "Two\tStars\ttwo@example.org", "bob\tbob@example.o",
                                      "zoe\tzoe@example.org", "-", "Customize..."}));
  // The picked addresses are a change: Close offers to keep them as a draft, nothing else asks.
  EXPECT_EQ(MessageBoxTexts(), std::vector<std::string>{"Save this message as a draft?"});
}

TEST_F(AddressMenuTest, AMissingAddressBookIsReportedAndCustomizeOpensItInTheEditor) {
  backend_.QueuePopupChoice(kCustomizeAddressCommand);
  Compose([](CHeadlessWindow& window) { window.Click(kSendToAddressButton); });
  EXPECT_EQ(MessageBoxTexts(), std::vector<std::string>{"Address Book 'address.txt' not found."});
  EXPECT_EQ(MenuTexts(backend_.PopupMenus().at(0).menu), (std::vector<std::string>{"-", "Customize..."}));
  EXPECT_EQ(host_.edited, std::vector<std::string>{"address.txt"});
}

}  // namespace
}  // namespace larkspin::test_support
