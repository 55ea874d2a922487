// Mail and credentials stay private under the usual umask 022: after a Remember, a peek, a
// download with an attachment, an address book entry and a send, no file or folder of the
// working folder or the profile is open to other users; and a config.ini that shows a stored
// password to others is reported once, without its mode being changed.
#include <gmock/gmock.h>
#include <sys/stat.h>

#include <filesystem>

#include "common/format.h"
#include "main_window/main_window_fixture.h"
#include "platform/private_profile.h"
#include "res/resources.h"
#include "support/fake_pop3_server.h"
#include "support/fake_smtp_server.h"

namespace larkspin::test_support {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

const std::string kWithAttachment =
    "From: Bob <bob@example.org>\r\nTo: anna@example.org\r\nSubject: Plan\r\nDate: Wed, 3 Mar 2004 09:00:00 +0100\r\n"
    "Content-Type: multipart/mixed; boundary=\"B\"\r\n\r\n--B\r\nContent-Type: text/plain\r\n\r\nThe plan.\r\n"
    "--B\r\nContent-Type: text/plain; name=\"plan.txt\"\r\nContent-Transfer-Encoding: base64\r\n\r\n"
    "cGxhbg==\r\n--B--\r\n";

class PrivateFilesTest : public MainWindowTest {
 protected:
  PrivateFilesTest() : saved_umask_(::umask(022)) {
    // A profile whose folders the program makes itself, as under a fresh $XDG_CONFIG_HOME.
    profile_path_ = folder_.File("xdg/larkspin/profile.ini");
    Profile().WriteString("66", "pw", "");
    Profile().WriteString("66", "info", LoadResourceString(102));
    pop3_.ServeMailbox({kWithAttachment});
    smtp_.AcceptMail();
  }
  ~PrivateFilesTest() override { ::umask(saved_umask_); }

  // Account "Home" with its login and the given password (empty: none), as the launcher writes
  // it (0600) or with the given mode.
  void WriteHomeConfig(const std::string& password, mode_t mode = 0600) {
    WriteConfig("PeekTime=0\r\n", {"Home"},
                AccountSection(1, pop3_.Port(), "anna", password) +
                    FormatText("SMTPHost=127.0.0.1\r\nSMTPPort=%d\r\nMailAddress=anna@example.org\r\n", smtp_.Port()));
    ::chmod(folder_.File("config.ini").c_str(), mode);
  }
  // Every file and folder under the working folder that its group or others may use.
  std::vector<std::string> OpenToOthers() const {
    std::vector<std::string> open;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder_.Path())) {
      if ((entry.symlink_status().permissions() & (fs::perms::group_all | fs::perms::others_all)) != fs::perms::none)
        open.push_back(entry.path().string());
    }
    return open;
  }
  mode_t ConfigMode() const {
    struct stat info {};
    ::stat(folder_.File("config.ini").c_str(), &info);
    return info.st_mode & 0777;
  }

  mode_t saved_umask_;
  FakePop3Server pop3_;
  FakeSmtpServer smtp_;
};

TEST_F(PrivateFilesTest, RememberPeekDownloadAddressBookAndSendLeaveNothingOpenToOthers) {
  WriteHomeConfig("");
  ASSERT_TRUE(Open());
  backend_.QueueModalScript([](CHeadlessWindow& input) {
    input.Type(kInputField, "secret");
    input.Click(kInputRememberBox);
    input.Click(kIdOk);
  });
  ASSERT_TRUE(PeekByConnect());
  ASSERT_EQ(RowCount(), 1);
  SelectRows({0});
  ASSERT_TRUE(Window().DoubleClick(kHeaderList));  // downloads it
  backend_.QueueModalScript([](CHeadlessWindow& input) { input.Click(kIdOk); });
  backend_.QueuePopupChoice(kCommandAddSender);
  ASSERT_TRUE(Window().RightClick(kHeaderList, {5, 5}));
  backend_.QueueModalScript([](CHeadlessWindow& compose) {
    compose.Type(kSendToField, "bob@example.org");
    compose.Type(kSendSubjectField, "Re: Plan");
    compose.Type(kSendMessageText, "Fine.\r\n");
    compose.Click(kSendButton);
  });
  ASSERT_TRUE(Window().Click(kComposeButton));
  Close();

  // What the steps made, so that the check below looks at real files.
  EXPECT_NE(ReadProfileString(folder_.File("config.ini"), "Account1", "POP3Password", ""), "");
  EXPECT_EQ(ReadFile(folder_.File("mailbox1/attach/plan.txt")), "plan");
  EXPECT_THAT(ReadFile(folder_.File("address.txt")), HasSubstr("bob@example.org"));
  EXPECT_EQ(smtp_.ReceivedData().size(), 1u);
  EXPECT_FALSE(fs::is_empty(folder_.File("mailbox1/sent")));
  EXPECT_NE(Profile().GetString("66", "account", ""), "");
  EXPECT_THAT(OpenToOthers(), IsEmpty());
}

TEST_F(PrivateFilesTest, AConfigThatShowsAStoredPasswordToOthersIsReportedOnceAndKeepsItsMode) {
  const struct {
    mode_t mode;
    std::string password;
    bool warned;
  } cases[] = {
      {0644, "secret", true},
      {0640, "secret", true},
      {0604, "secret", true},
      {0600, "secret", false},
      {0644, "", false},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(FormatText("mode %o, password '%s'", test.mode, test.password.c_str()));
    std::remove(folder_.File("larkspin.log").c_str());
    WriteHomeConfig(test.password, test.mode);
    ASSERT_TRUE(Open());
    const std::string warning = folder_.File("config.ini") + " holds a password and other users of this computer can read it";
    const std::string log = LogText();
    EXPECT_EQ(log.find(warning) != std::string::npos, test.warned) << log;
    EXPECT_EQ(log.find(warning), log.rfind(warning));
    EXPECT_EQ(Status().find(warning) != std::string::npos, test.warned) << Status();
    Close();
    EXPECT_EQ(ConfigMode(), test.mode);
  }
}

}  // namespace
}  // namespace larkspin::test_support
