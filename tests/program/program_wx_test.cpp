// The program on a private X display, started from its executable: the window size it
// remembers survives restarts unchanged, and termination signals end it once, cleanly, with its
// profile written, also while a modal box or dialog waits for an answer. A toolkit assertion
// aborts it (run_under_xvfb.sh), which these tests see as an unclean exit; a toolkit warning on
// its standard error fails them too.
#include <gmock/gmock.h>
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

namespace larkspin::test_support {
namespace {

constexpr int kExitWaitMs = 15000;
// How long a desktop session waits for a program at logout before it kills it.
constexpr int kLogoutWaitMs = 5000;

using ::testing::ContainsRegex;
using ::testing::Not;

class ProgramWxTest : public ::testing::Test {
 protected:
  ProgramWxTest() {
    setenv("XDG_CONFIG_HOME", folder_.Path().c_str(), 1);
    WriteConfig(true);
    std::system(("mkdir -p '" + folder_.Path() + "/larkspin'").c_str());
    profile_.WriteString("66", "pw", "");
    profile_.WriteString("66", "info", LoadResourceString(102));
  }

  // Starts the program and waits until a window whose title matches title_pattern shows; -1
  // when it did not show.
  pid_t StartAndWaitForWindow(const std::string& title_pattern = "^Larkspin-Home$") {
    const pid_t child = StartProcess({LARKSPIN_EXECUTABLE}, folder_.File("output.txt"));
    const int shown = std::system(
        ("timeout 15 xdotool search --sync --onlyvisible --name '" + title_pattern + "' >/dev/null 2>&1").c_str());
    if (shown == 0) return child;
    EndProcess(child, 1000);
    return -1;
  }

  // Waits at most wait_ms for the program's end; true when it exited with status 0 in time
  // and without toolkit warnings.
  bool EndedCleanly(pid_t child, int wait_ms = kExitWaitMs) {
    int status = 0;
    if (!WaitForExit(child, wait_ms, &status)) {
      EndProcess(child, 1000);
      return false;
    }
    EXPECT_THAT(ReadFile(folder_.File("output.txt")), Not(ContainsRegex("Gtk-(CRITICAL|WARNING)")));
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

  // Port 9 (discard) is not served here; the window never connects on its own with PeekTime 0.
  void WriteConfig(bool with_login) {
    WriteFile(folder_.File("config.ini"),
              "[System]\r\nAccounts=1\r\nPeekTime=0\r\n[Users]\r\nAccount1=Home\r\n[Account1]\r\n"
              "POP3Host=127.0.0.1\r\nPOP3Port=9\r\n" +
                  (with_login ? "POP3Account=" + Scrambled("anna") + "\r\nPOP3Password=" + Scrambled("secret") + "\r\n"
                              : std::string()));
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

// A desktop logout sends SIGTERM and waits a few seconds: the first-start boxes and the login
// question end without an answer, and so does the program.
TEST_F(ProgramWxTest, ATerminationSignalEndsTheProgramWhileAModalBoxOrDialogWaits) {
  const struct {
    const char* what;
    const char* title_pattern;  // of the box or dialog that waits
    bool greeting_seen;
    const char* program_password;  // nullptr: never set, so it is asked for
    bool stored_login;
  } cases[] = {
      {"the first-start greeting", "^Larkspin$", false, "", true},
      {"the first program password question", "^New Larkspin password$", true, nullptr, true},
      {"the login question of a start without a stored login", "^POP3 Account \\(Home\\)$", true, "", false},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    WriteConfig(test.stored_login);
    WriteFile(folder_.File("larkspin/profile.ini"), "");
    profile_.WriteInt("66", "account", -1);
    if (test.greeting_seen) profile_.WriteString("66", "info", LoadResourceString(102));
    if (test.program_password) profile_.WriteString("66", "pw", test.program_password);
    const pid_t child = StartAndWaitForWindow(test.title_pattern);
    ASSERT_GT(child, 0) << ReadFile(folder_.File("output.txt"));
    kill(child, SIGTERM);
    ASSERT_TRUE(EndedCleanly(child, kLogoutWaitMs)) << ReadFile(folder_.File("output.txt"));
    EXPECT_EQ(profile_.GetInt("66", "account", -1), 0);
  }
}

}  // namespace
}  // namespace larkspin::test_support
