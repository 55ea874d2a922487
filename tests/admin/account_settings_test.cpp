#include "admin/account_settings.h"

#include <gtest/gtest.h>

#include "common/scramble.h"
#include "platform/file_system.h"
#include "platform/private_profile.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::ReadFile;
using test_support::WriteFile;

// A hand-written config.ini: comments, blank lines, CRLF, keys the dialog never shows.
const char* const kHandWritten =
    "; my settings\r\n"
    "[System]\r\n"
    "Accounts=1\r\n"
    "PeekTime=0   ; no automatic peeks\r\n"
    "\r\n"
    "[Users]\r\n"
    "Account1=Home\r\n"
    "\r\n"
    "; the home account\r\n"
    "[Account1]\r\n"
    "FullName=Anna Example\r\n"
    "MailAddress=anna@example.org\r\n"
    "ReplyAddress=anna@example.org\r\n"
    "POP3Host=pop.example.org\r\n"
    "POP3Port=110\r\n"
    "TLSCAFile=/etc/ssl/home.pem\r\n"
    "SMTPHost=smtp.example.org\r\n"
    "; trailing remark\r\n";

AccountSettings Work() {
  AccountSettings work;
  work.name = "Work";
  work.full_name = "Anna at Work";
  work.mail_address = "anna@work.example";
  work.pop3_host = "pop.work.example";
  work.pop3_port = 995;
  work.pop3_security = TlsMode::kImplicit;
  work.login = "anna.w";
  work.password = "s3cret";
  work.remember = true;
  work.smtp_host = "smtp.work.example";
  work.smtp_port = 587;
  work.smtp_security = TlsMode::kUpgrade;
  work.authentication = "CramMD5Method";
  return work;
}

class AccountSettingsTest : public ::testing::Test {
 protected:
  AccountSettingsTest() { WriteFile("config.ini", kHandWritten); }
  std::string Config() const { return ReadFile("config.ini"); }
  std::string Value(const std::string& section, const std::string& key) const {
    return ReadProfileString("config.ini", section, key, "(missing)");
  }

  test_support::TempFolder folder_;
  test_support::ScopedWorkingDirectory here_{folder_.Path()};
};

TEST_F(AccountSettingsTest, AnAddedAccountReadsBackAndRemovingItRestoresTheFileByteForByte) {
  ASSERT_EQ(SaveAccountSettings(2, Work(), ReadAccountSettings(2)), "");
  EXPECT_EQ(ReadAccountSettings(2), Work());
  EXPECT_EQ(Value("System", "Accounts"), "2");
  EXPECT_EQ(Value("Users", "Account2"), "Work");
  EXPECT_EQ(Value("Account2", "ReplyAddress"), "anna@work.example");
  EXPECT_EQ(Value("Account2", "POP3Password"), Scrambled("s3cret")) << "kept scrambled, as the login prompt keeps it";
  EXPECT_EQ(Value("Account1", "TLSCAFile"), "/etc/ssl/home.pem");

  ASSERT_EQ(RemoveLastAccount(), "");
  EXPECT_EQ(Config(), kHandWritten);
}

TEST_F(AccountSettingsTest, EditingWritesOnlyTheChangedKeysInPlace) {
  const AccountSettings before = ReadAccountSettings(1);
  EXPECT_EQ(before.name, "Home");
  EXPECT_EQ(before.smtp_port, 25) << "a missing key reads as the program's default";
  EXPECT_EQ(before.login, "");
  EXPECT_FALSE(before.remember);

  ASSERT_EQ(SaveAccountSettings(1, before, before), "");
  EXPECT_EQ(Config(), kHandWritten) << "a save without changes writes nothing";

  AccountSettings edited = before;
  edited.pop3_port = 1110;
  edited.mail_address = "anna@new.example";
  ASSERT_EQ(SaveAccountSettings(1, edited, before), "");
  std::string expected = kHandWritten;
  expected.replace(expected.find("POP3Port=110"), 12, "POP3Port=1110");
  for (const char* key : {"MailAddress=", "ReplyAddress="}) {
    const size_t at = expected.find(std::string(key) + "anna@example.org");
    expected.replace(at, std::string(key).size() + 16, std::string(key) + "anna@new.example");
  }
  EXPECT_EQ(Config(), expected) << "ReplyAddress followed MailAddress, since it was the same";

  WriteProfileString("config.ini", "Account1", "ReplyAddress", "desk@new.example");
  AccountSettings again = edited;
  again.mail_address = "anna@third.example";
  ASSERT_EQ(SaveAccountSettings(1, again, edited), "");
  EXPECT_EQ(Value("Account1", "ReplyAddress"), "desk@new.example") << "a reply address of its own stays";
}

TEST_F(AccountSettingsTest, RememberKeepsThePasswordAndUntickingForgetsIt) {
  AccountSettings settings = ReadAccountSettings(1);
  const AccountSettings before = settings;
  settings.login = "anna";
  settings.password = "abc";
  ASSERT_EQ(SaveAccountSettings(1, settings, before), "");
  EXPECT_EQ(Value("Account1", "POP3Account"), Scrambled("anna"));
  EXPECT_EQ(Value("Account1", "POP3Password"), "(missing)") << "not remembered";

  AccountSettings remembered = settings;
  remembered.remember = true;
  ASSERT_EQ(SaveAccountSettings(1, remembered, ReadAccountSettings(1)), "");
  EXPECT_EQ(Value("Account1", "POP3Password"), "fff");
  EXPECT_EQ(ReadAccountSettings(1).password, "abc");

  ASSERT_EQ(SaveAccountSettings(1, settings, ReadAccountSettings(1)), "");
  EXPECT_EQ(ReadAccountSettings(1).password, "");
  EXPECT_FALSE(ReadAccountSettings(1).remember);
}

TEST_F(AccountSettingsTest, OnlyTheLastAccountGoesAndItsMailStays) {
  ASSERT_EQ(SaveAccountSettings(2, Work(), ReadAccountSettings(2)), "");
  MakeFolder("mailbox2");
  WriteFile("mailbox2/msg.txt", "mail");
  ASSERT_EQ(RemoveLastAccount(), "");
  EXPECT_EQ(ReadFile("mailbox2/msg.txt"), "mail");
  ASSERT_EQ(RemoveLastAccount(), "");
  EXPECT_EQ(Value("System", "Accounts"), "0");
  EXPECT_EQ(Value("Account1", "POP3Host"), "(missing)");
  EXPECT_EQ(Value("System", "PeekTime"), "0   ; no automatic peeks") << "other sections stay";
  EXPECT_EQ(RemoveLastAccount(), "There is no account to remove.");
}

TEST(AccountSettingsCheck, SettingsThatCannotWorkAreNamed) {
  const struct {
    void (*spoil)(AccountSettings&);
    const char* reason;
  } cases[] = {
      {[](AccountSettings&) {}, ""},
      {[](AccountSettings& s) { s.name.clear(); }, "Enter a name for the account."},
      {[](AccountSettings& s) { s.pop3_host.clear(); }, "Enter the POP3 server."},
      {[](AccountSettings& s) { s.pop3_port = 0; }, "The POP3 port must be 1 to 65535."},
      {[](AccountSettings& s) { s.smtp_port = 65536; }, "The SMTP port must be 1 to 65535."},
  };
  for (const auto& c : cases) {
    AccountSettings settings = Work();
    c.spoil(settings);
    EXPECT_EQ(InvalidAccountSettings(settings), c.reason);
  }
}

}  // namespace
}  // namespace larkspin
