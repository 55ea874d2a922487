// The main window's log: a log that cannot be opened is said in a box.
#include "main_window/log_opening.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/message_box.h"
#include "config/log.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::ScopedWorkingDirectory;
using test_support::TempFolder;

TEST(LogOpeningTest, OnlyALogThatCannotBeOpenedIsShownInABox) {
  TempFolder folder;
  ScopedWorkingDirectory here(folder.Path());
  std::vector<std::string> shown;
  const MessageBoxHandler previous = SetMessageBoxHandler([&](unsigned, const std::string& text) {
    shown.push_back(text);
    return kButtonOk;
  });
  EXPECT_TRUE(OpenLogOrShowFailure());
  CloseLog();
  EXPECT_TRUE(shown.empty());
  std::filesystem::remove(folder.File("larkspin.log"));
  std::filesystem::create_directory(folder.File("larkspin.log"));
  EXPECT_FALSE(OpenLogOrShowFailure());
  SetMessageBoxHandler(previous);
  EXPECT_EQ(shown, (std::vector<std::string>{"Couldn't open LogFile."}));
}

}  // namespace
}  // namespace larkspin
