#include "config/log.h"

#include <regex>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "common/message_box.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::ReadFile;
using test_support::TempFolder;

TEST(LogTest, TimeStampsPutTheMonthFirst) {
  std::tm time{};
  time.tm_year = 2004 - 1900;
  time.tm_mon = 2;
  time.tm_mday = 7;
  time.tm_hour = 14;
  time.tm_min = 5;
  time.tm_sec = 9;
  EXPECT_EQ(FormatTime(time, kLogStamp, ":", "/"), "03/07/2004 14:05:09");
  EXPECT_EQ(FormatTime(time, kTimeOfDay, "-", "/"), "14-05-09");
  EXPECT_EQ(FormatTime(time, kDateOnly, ":", "."), "2004.03.07");
  EXPECT_EQ(FormatTime(time, 3, ":", "/"), "Invalid Format");
}

TEST(LogTest, EventsAreAppendedWithStampAndTab) {
  TempFolder folder;
  const std::string path = folder.File("larkspin.log");
  test_support::WriteFile(path, "earlier line\n");
  ASSERT_EQ(OpenLog(path), 1);
  EXPECT_EQ(LogEvent("Error connecting to pop3host: -ERR\n\nReason: x"), 1);
  CloseLog();
  EXPECT_EQ(WriteLogLine("after close"), -1);
  const std::string content = ReadFile(path);
  EXPECT_TRUE(std::regex_match(
      content, std::regex("earlier line\n\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d \tError connecting to pop3host: "
                          "-ERR\n\nReason: x\n")))
      << content;
}

TEST(LogTest, LinesFromTwoThreadsNeverInterleave) {
  TempFolder folder;
  const std::string path = folder.File("larkspin.log");
  ASSERT_EQ(OpenLog(path), 1);
  constexpr int kLines = 2000;
  auto writer = [](char letter) {
    for (int i = 0; i < kLines; ++i) LogEvent(std::string(300, letter));
  };
  std::thread first(writer, 'a');
  std::thread second(writer, 'b');
  first.join();
  second.join();
  CloseLog();
  std::istringstream lines(ReadFile(path));
  int count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    const std::string message = line.substr(line.find('\t') + 1);
    ASSERT_TRUE(message == std::string(300, 'a') || message == std::string(300, 'b')) << line;
  }
  EXPECT_EQ(count, 2 * kLines);
}

// The window and the command line say it; the log itself shows nothing.
TEST(LogTest, AFailedOpenIsReportedToTheCallerWithoutABox) {
  std::string shown;
  MessageBoxHandler previous = SetMessageBoxHandler([&](unsigned, const std::string& text) {
    shown = text;
    return kButtonOk;
  });
  EXPECT_EQ(OpenLog("/nonexistent-folder/larkspin.log"), -1);
  SetMessageBoxHandler(previous);
  EXPECT_EQ(shown, "");
}

}  // namespace
}  // namespace larkspin
