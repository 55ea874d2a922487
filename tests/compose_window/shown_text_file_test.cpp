// A text file the compose window starts from: a read error is shown in a box, a readable or missing
// file shows none.
#include "compose_window/shown_text_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/message_box.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::TempFolder;
using test_support::WriteFile;

TEST(ShownTextFileTest, OnlyAReadErrorIsShownInABox) {
  TempFolder folder;
  WriteFile(folder.File("signature.txt"), "Regards\r\n");
  std::vector<std::string> shown;
  const MessageBoxHandler previous = SetMessageBoxHandler([&](unsigned, const std::string& text) {
    shown.push_back(text);
    return kButtonOk;
  });
  EXPECT_EQ(ShownTextFile(folder.File("signature.txt")), "Regards\r\n");
  EXPECT_EQ(ShownTextFile(folder.File("missing.txt")), "  \r\n");
  EXPECT_TRUE(shown.empty());
  // A folder opens for reading but cannot be read.
  EXPECT_EQ(ShownTextFile(folder.Path()), "  \r\n");
  SetMessageBoxHandler(previous);
  EXPECT_EQ(shown, (std::vector<std::string>{"A Read Error has occured."}));
}

}  // namespace
}  // namespace larkspin
