#include "platform/program_start.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <future>
#include <string>
#include <vector>

#include "platform/file_listing.h"
#include "platform/shell_open.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

TEST(ProgramStartTest, ExitCodesAndFailuresToStartAreTold) {
  EXPECT_EQ(RunProgram("true", "x", true), 0);
  EXPECT_EQ(RunProgram("sh", "-c", true), 2);  // "-c" without a command is a usage error
  EXPECT_EQ(RunProgram("no-such-program-larkspin", "x", true), kProgramNotStarted);
  EXPECT_FALSE(StartProgram("no-such-program-larkspin", "x"));
  EXPECT_TRUE(StartProgram("true", "x"));
}

TEST(ProgramStartTest, AStartedProgramReportsItsExitCodeLaterOnItsOwnThread) {
  std::promise<int> exit_code;
  ASSERT_TRUE(StartProgram("sh", "-c", [&](int code) { exit_code.set_value(code); }));
  auto reported = exit_code.get_future();
  ASSERT_EQ(reported.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(reported.get(), 2);
}

// A fake xdg-open on PATH that sleeps and then exits with the code named in the script.
class ShellOpenTest : public ::testing::Test {
 protected:
  void UseOpener(int exit_code, double seconds) {
    const std::string script = folder_.File("xdg-open");
    test_support::WriteFile(script, "#!/bin/sh\nsleep " + std::to_string(seconds) + "\nexit " +
                                   std::to_string(exit_code) + "\n");
    chmod(script.c_str(), 0755);
    setenv("PATH", (folder_.Path() + ":" + saved_path_).c_str(), 1);
  }
  ~ShellOpenTest() override { setenv("PATH", saved_path_.c_str(), 1); }

  test_support::TempFolder folder_;
  std::string saved_path_ = std::getenv("PATH");
};

TEST_F(ShellOpenTest, TheOpenerIsNotWaitedForAndItsFailureIsReportedWhenItEnds) {
  UseOpener(2, 0.5);
  std::promise<int> failure;
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(OpenWithShell("missing.pdf", [&](int result) { failure.set_value(result); }), kShellOpenSucceeded);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(400));
  auto reported = failure.get_future();
  ASSERT_EQ(reported.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(reported.get(), kShellOpenFileNotFound);
}

TEST_F(ShellOpenTest, ASucceedingOpenerReportsNothing) {
  UseOpener(0, 0);
  std::promise<void> failure;
  EXPECT_EQ(OpenWithShell("file.pdf", [&](int) { failure.set_value(); }), kShellOpenSucceeded);
  EXPECT_EQ(failure.get_future().wait_for(std::chrono::milliseconds(500)), std::future_status::timeout);
}

TEST(FileListingTest, FilesMatchingThePatternAreListedAndFoldersSkipped) {
  test_support::TempFolder folder;
  test_support::WriteFile(folder.File("a.txt"), "a");
  test_support::WriteFile(folder.File("b.pdf"), "b");
  test_support::WriteFile(folder.File("noextension"), "c");
  mkdir(folder.File("sub.txt").c_str(), 0755);
  const struct {
    std::string pattern;
    std::vector<std::string> names;
    int answer;
  } cases[] = {
      {"/*.txt", {"a.txt"}, 1},
      {"/*.*", {"a.txt", "b.pdf", "noextension"}, 3},
      {"/*.doc", {}, -1},
      {"/missing/*.*", {}, -1},
  };
  for (const auto& c : cases) {
    std::vector<std::string> names = {"kept"};
    const int answer = ListFiles(folder.Path() + c.pattern, names);
    std::vector<std::string> expected = c.names;
    expected.insert(expected.begin(), "kept");
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected) << c.pattern;
    EXPECT_EQ(answer, c.answer < 0 ? -1 : c.answer + 1) << c.pattern;
  }
}

}  // namespace
}  // namespace larkspin
