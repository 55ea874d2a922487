// A new user's first hour, as the desktop starts the program: installed into a scratch prefix,
// started through its launcher in an empty home under a window manager. The first-start boxes
// are answered, an account is set up in the account dialog against Dovecot and npm smtp-server
// (its Test logs in to both), and a peek lists the mail. Screenshots of the password question, of
// the dialog after the test and of the main window after the peek go to the build folder
// (first_start_password.png, first_start_account.png, first_start_peek.png); nothing the program
// leaves is readable by other users.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "common/format.h"
#include "support/child_process.h"
#include "support/dovecot_server.h"
#include "support/npm_smtp_server.h"
#include "support/temp_folder.h"

namespace larkspin::test_support {
namespace {

constexpr int kWindowWaitSeconds = 10;

bool Succeeds(const std::string& command) { return std::system(command.c_str()) == 0; }

// The ids of the visible windows whose title matches pattern, oldest first.
std::vector<std::string> VisibleWindows(const std::string& pattern) {
  std::vector<std::string> ids;
  const std::string command = "xdotool search --onlyvisible --name '" + pattern + "' 2>/dev/null";
  if (std::FILE* list = popen(command.c_str(), "r")) {
    char line[64];
    while (std::fgets(line, sizeof line, list)) ids.emplace_back(line, std::strcspn(line, "\n"));
    pclose(list);
  }
  return ids;
}

// Waits until at least count visible windows match pattern, focuses the newest of them and runs
// the xdotool actions on it.
bool OnWindow(const std::string& pattern, const std::string& actions = "", size_t count = 1) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kWindowWaitSeconds);
  std::vector<std::string> windows;
  while ((windows = VisibleWindows(pattern)).size() < count) {
    if (std::chrono::steady_clock::now() > deadline) {
      Succeeds("for w in $(xdotool search --onlyvisible --name .); do xdotool getwindowname $w; done >&2");
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return Succeeds("xdotool windowactivate --sync " + windows.back() + " " + actions + " >/dev/null 2>&1");
}

// Focuses the window as OnWindow does, then runs each xdotool command in turn.
bool Steps(const std::string& pattern, const std::vector<std::string>& commands) {
  if (!OnWindow(pattern)) return false;
  for (const std::string& command : commands) {
    if (!Succeeds("xdotool " + command)) return false;
  }
  return true;
}

bool Photograph(const std::string& pattern, const std::string& name) {
  return Succeeds(FormatText("sleep 0.5; import -window \"$(xdotool search --onlyvisible --name '%s' | tail -1)\" '%s/%s'",
                        pattern.c_str(), LARKSPIN_SCREENSHOT_DIR, name.c_str()));
}

// Files and folders under root that group or others may read, write or enter.
std::vector<std::string> OpenToOthers(const std::filesystem::path& root) {
  std::vector<std::string> open;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    struct stat info {};
    if (lstat(entry.path().c_str(), &info) == 0 && !S_ISLNK(info.st_mode) && (info.st_mode & 077) != 0)
      open.push_back(entry.path().string());
  }
  return open;
}

class FirstStartWxTest : public ::testing::Test {
 protected:
  FirstStartWxTest() {
    pop3_.AddUser("anna", "secret");
    pop3_.AddMessage("anna", "From: Bob Stone <bob@example.org>\r\nTo: anna@example.org\r\nSubject: Welcome aboard\r\n"
                             "Date: Mon, 2 Mar 2026 10:00:00 +0100\r\nMessage-ID: <1@example.org>\r\n\r\nHello.\r\n");
    pop3_.Start();
    smtp_.Start();
    setenv("HOME", home_.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
  }

  TempFolder scratch_;
  std::string prefix_ = scratch_.File("prefix");
  std::string home_ = scratch_.File("home");
  DovecotServer pop3_;
  NpmSmtpServer smtp_{"anna", "secret"};
};

TEST_F(FirstStartWxTest, AnAccountSetUpInTheDialogIsTestedAndPeekedWithoutARestart) {
  ASSERT_TRUE(Succeeds(FormatText("cmake --install '%s' --prefix '%s' >/dev/null", LARKSPIN_BUILD_DIR, prefix_.c_str())));
  std::filesystem::create_directories(home_);
  umask(022);
  const std::string output = scratch_.File("output.txt");
  const pid_t program = StartProcess({prefix_ + "/libexec/larkspin/larkspin-start", prefix_ + "/bin/larkspin",
                                      prefix_ + "/share/larkspin/disclaimer.txt"},
                                     output);
  ASSERT_GT(program, 0);

  EXPECT_TRUE(OnWindow("^Larkspin$", "key Return", 2)) << "the greeting over the main window";
  EXPECT_TRUE(OnWindow("^New Larkspin password$")) << "the program password question";
  EXPECT_TRUE(Photograph("^New Larkspin password$", "first_start_password.png"));
  EXPECT_TRUE(OnWindow("^New Larkspin password$", "key Return")) << "no program password";
  Succeeds("sleep 0.7");  // the first question's window is gone
  EXPECT_TRUE(OnWindow("^New Larkspin password$", "key Return")) << "none again";
  // The fields in their order, from Name to the SMTP port; security and authentication stay None.
  const std::vector<std::string> fields = {
      "type Home", "key Tab", "type 'Anna Lee'", "key Tab", "type anna@example.org", "key Tab", "type 127.0.0.1",
      "key Tab", "key ctrl+a", FormatText("type %d", pop3_.Port()), "key Tab", "key Tab", "type anna", "key Tab",
      "type secret", "key Tab", "key space", "key Tab", "type 127.0.0.1", "key Tab", "key ctrl+a",
      FormatText("type %d", smtp_.Port()), "key alt+t"};
  EXPECT_TRUE(Steps("^Accounts$", fields)) << "the account dialog at a start without accounts";
  const std::string log = home_ + "/Larkspin/larkspin.log";
  EXPECT_TRUE(Succeeds(FormatText("timeout 20 sh -c 'until grep -q \"Account test of\" \"%s\"; do sleep 0.2; done'",
                             log.c_str())));
  EXPECT_TRUE(Photograph("^Accounts$", "first_start_account.png"));
  EXPECT_TRUE(Succeeds(FormatText("grep -q \"Account test of 'Home': POP3: logged in, 1 message; SMTP: greeted\" '%s'",
                             log.c_str())))
      << ReadFile(log);
  const std::string config = home_ + "/Larkspin/config.ini";
  EXPECT_TRUE(Steps("^Accounts$", {"key alt+s"})) << "Save";
  EXPECT_TRUE(Succeeds(FormatText("timeout 20 sh -c 'until grep -q \"^Account1=Home\" \"%s\"; do sleep 0.2; done'",
                                  config.c_str())))
      << "config.ini has the account";
  EXPECT_TRUE(Steps("^Accounts$", {"key alt+c"})) << "Close";
  EXPECT_TRUE(OnWindow("^Larkspin-Home$", "key alt+c")) << "Connect\n" << ReadFile(output);
  EXPECT_TRUE(Succeeds(FormatText("timeout 20 xdotool search --sync --onlyvisible --name '^\\(1\\) Larkspin-Home$' >/dev/null")))
      << "the peek lists the message";
  EXPECT_TRUE(Photograph("Larkspin-Home$", "first_start_peek.png"));

  kill(program, SIGTERM);
  int status = 0;
  ASSERT_TRUE(WaitForExit(program, 15000, &status)) << ReadFile(output);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadFile(output);
  EXPECT_EQ(ReadFile(output).find("Gtk-"), std::string::npos) << ReadFile(output);
  EXPECT_EQ(OpenToOthers(home_ + "/Larkspin"), std::vector<std::string>{});
  EXPECT_EQ(OpenToOthers(home_ + "/.config/larkspin"), std::vector<std::string>{});
}

}  // namespace
}  // namespace larkspin::test_support
