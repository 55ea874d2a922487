// The program on a private X display, started from its executable: the window size it
// remembers survives restarts unchanged, and two termination signals in a row end it once,
// cleanly, with its profile written. A toolkit assertion aborts it (run_under_xvfb.sh), which
// these tests see as an unclean exit.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "common/scramble.h"
#include "platform/profile_store.h"
#include "res/resources.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace larkspin::testing {
namespace {

constexpr int kExitWaitMs = 15000;

class ProgramWxTest : public ::testing::Test {
 protected:
  ProgramWxTest() {
    setenv("XDG_CONFIG_HOME", folder_.Path().c_str(), 1);
    // Port 9 (discard) is not served here; the window never connects on its own with PeekTime 0.
    WriteFile(folder_.File("config.ini"),
              "[System]\r\nAccounts=1\r\nPeekTime=0\r\n[Users]\r\nAccount1=Home\r\n[Account1]\r\n"
              "POP3Host=127.0.0.1\r\nPOP3Port=9\r\nPOP3Account=" + Scrambled("anna") + "\r\nPOP3Password=" +
                  Scrambled("secret") + "\r\n");
    std::system(("mkdir -p '" + folder_.Path() + "/larkspin'").c_str());
    profile_.WriteString("66", "pw", "");
    profile_.WriteString("66", "info", LoadResourceString(102));
  }

  // Starts the program and waits until its main window shows; -1 when it did not show.
  pid_t StartAndWaitForWindow() {
    const pid_t child = StartProcess({LARKSPIN_EXECUTABLE}, folder_.File("output.txt"));
    const int shown = std::system(
        "timeout 15 xdotool search --sync --onlyvisible --name '^Larkspin-Home$' >/dev/null 2>&1");
    if (shown == 0) return child;
    EndProcess(child, 1000);
    return -1;
  }

  // Waits for the program's end; true when it exited with status 0 in time.
  static bool EndedCleanly(pid_t child) {
    int status = 0;
    if (!WaitForExit(child, kExitWaitMs, &status)) {
      EndProcess(child, 1000);
      return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

  TempFolder folder_;
  ScopedWorkingDirectory here_{folder_.Path()};
  CProfileStore profile_{folder_.File("larkspin/profile.ini")};
};

TEST_F(ProgramWxTest, ThreeStartsRestoreAndSaveTheSameWindowSize) {
  profile_.WriteInt("66", "CX", 1000);
  profile_.WriteInt("66", "CY", 700);
  profile_.WriteInt("66", "X", 20);
  profile_.WriteInt("66", "Y", 30);
  for (int start = 1; start <= 3; ++start) {
    SCOPED_TRACE(start);
    const pid_t child = StartAndWaitForWindow();
    ASSERT_GT(child, 0) << ReadFile(folder_.File("output.txt"));
    kill(child, SIGTERM);
    ASSERT_TRUE(EndedCleanly(child)) << ReadFile(folder_.File("output.txt"));
    EXPECT_EQ(profile_.GetInt("66", "CX", 0), 1000);
    EXPECT_EQ(profile_.GetInt("66", "CY", 0), 700);
  }
}

TEST_F(ProgramWxTest, TwoTerminationSignalsEndTheProgramOnceWithItsProfileWritten) {
  for (int attempt = 1; attempt <= 3; ++attempt) {
    SCOPED_TRACE(attempt);
    profile_.WriteInt("66", "account", -1);
    const pid_t child = StartAndWaitForWindow();
    ASSERT_GT(child, 0) << ReadFile(folder_.File("output.txt"));
    kill(child, SIGTERM);
    kill(child, SIGTERM);
    ASSERT_TRUE(EndedCleanly(child)) << ReadFile(folder_.File("output.txt"));
    EXPECT_EQ(profile_.GetInt("66", "account", -1), 0);
  }
}

}  // namespace
}  // namespace larkspin::testing
