#include "config/current_account.h"

#include <deque>

#include <gtest/gtest.h>

#include "config/working_files.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::ReadFile;
using test_support::ScopedWorkingDirectory;
using test_support::TempFolder;
using test_support::WriteFile;

// Answers the prompts in order and remembers what was asked.
class ScriptedPrompt : public CInputPrompt {
 public:
  struct Answer {
    bool ok;
    std::string text;
    bool remember;
  };
  bool Ask(const InputRequest& request, InputAnswer& answer) override {
    asked.push_back(request);
    if (answers.empty()) ADD_FAILURE() << "unexpected prompt: " << request.caption;
    const Answer next = answers.empty() ? Answer{false, "", false} : answers.front();
    if (!answers.empty()) answers.pop_front();
    answer.text = next.ok ? next.text : "";
    answer.remember = next.remember;
    return next.ok;
  }
  std::deque<Answer> answers;
  std::vector<InputRequest> asked;
};

class CurrentAccountTest : public ::testing::Test {
 protected:
  TempFolder folder;
  ScopedWorkingDirectory here{folder.Path()};
  ScriptedPrompt prompt;
  CCurrentAccount account{prompt};
};

TEST_F(CurrentAccountTest, MissingKeysTakeEachReadersDefault) {
  account.LoadCurrentAccount("Account2");
  EXPECT_EQ(account.account_number, 2);
  EXPECT_EQ(account.full_name, "fullname");
  EXPECT_EQ(account.mail_address, "mailaddress");
  EXPECT_EQ(account.reply_address, "replyaddress");
  EXPECT_EQ(account.pop3_host, "pop3host");
  EXPECT_EQ(account.pop3_port, 110);
  EXPECT_EQ(account.smtp_host, "smtphost");
  EXPECT_EQ(account.smtp_port, 25);

  WriteFile(kConfigFile, "[Account2]\nPOP3Account=fff\nPOP3Password=fff\n");
  AccountRecord record;
  account.LoadAccountRecord(2, record, PeekScope::kOneAccount);
  EXPECT_EQ(record.account_number, 2);
  EXPECT_EQ(record.smtp_host, "smtp3host");
  EXPECT_EQ(record.display_name, "default");
  EXPECT_EQ(record.authentication, "NoLoginMethod");
  EXPECT_EQ(record.login, "abc");
  EXPECT_EQ(record.password, "abc");
  // The credential step names the account "Account1" when "Users" has no entry.
  EXPECT_EQ(account.display_name, "Account1");
}

TEST_F(CurrentAccountTest, LoadingCreatesTheAccountFolders) {
  account.LoadCurrentAccount("Account3");
  EXPECT_TRUE(FolderExists("mailbox3"));
  EXPECT_TRUE(FolderExists("mailbox3/sent"));
  EXPECT_TRUE(FolderExists("mailbox3/attach"));
  account.LoadCurrentAccount("Account3");  // existing folders are no error
  EXPECT_TRUE(FolderExists("mailbox3/attach"));
}

TEST_F(CurrentAccountTest, StoredCredentialsAreUnscrambledExactlyOncePerLoad) {
  WriteFile(kConfigFile, "[Users]\nAccount1=Home\n[Account1]\nPOP3Account=fff\nPOP3Password=fff\n");
  ASSERT_EQ(account.EnsureCredentials("Account1", PeekScope::kOneAccount), 1);
  EXPECT_EQ(account.login, "abc");
  EXPECT_EQ(account.password, "abc");
  EXPECT_EQ(account.display_name, "Home");
  ASSERT_EQ(account.EnsureCredentials("Account1", PeekScope::kOneAccount), 1);
  EXPECT_EQ(account.login, "abc");
  EXPECT_EQ(account.password, "abc");
  EXPECT_FALSE(account.folder_gate_mark);
  EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(CurrentAccountTest, RememberedLoginIsStoredScrambledWithoutDisturbingTheFile) {
  const std::string config =
      "; my accounts\r\n"
      "[System]\r\n"
      "Accounts=1\r\n"
      "\r\n"
      "[Account1]\r\n"
      "POP3Host=pop.example.org\r\n"
      "; password is typed each time\r\n"
      "[Font]\r\n"
      "SizeView=24\r\n";
  WriteFile(kConfigFile, config);
  prompt.answers = {{true, "abc", true}, {true, "secret", false}};
  ASSERT_EQ(account.EnsureCredentials("Account1", PeekScope::kOneAccount), 1);

  EXPECT_EQ(ReadFile(kConfigFile),
            "; my accounts\r\n"
            "[System]\r\n"
            "Accounts=1\r\n"
            "\r\n"
            "[Account1]\r\n"
            "POP3Host=pop.example.org\r\n"
            "POP3Account=fff\r\n"
            "; password is typed each time\r\n"
            "[Font]\r\n"
            "SizeView=24\r\n");
  EXPECT_EQ(account.login, "abc");
  EXPECT_EQ(account.password, "secret");
  EXPECT_TRUE(account.folder_gate_mark);

  ASSERT_EQ(prompt.asked.size(), 2u);
  EXPECT_EQ(prompt.asked[0].caption, "POP3 Account (Account1)");
  EXPECT_EQ(prompt.asked[0].prompt, "Please enter your POP3 login name:");
  EXPECT_FALSE(prompt.asked[0].password_style);
  EXPECT_EQ(prompt.asked[1].caption, "POP3 Password (Account1)");
  EXPECT_EQ(prompt.asked[1].prompt, "Please enter your POP3 password:");
  EXPECT_TRUE(prompt.asked[1].password_style);
}

TEST_F(CurrentAccountTest, TypedValuesAreUsedAsTypedAndPromptsComeFromTheLanguageFile) {
  WriteFile(kLanguageFile, "[Labels]\nEnterLogin=Benutzername:\n");
  prompt.answers = {{true, "fff", false}, {false, "ignored", true}};
  ASSERT_EQ(account.EnsureCredentials("Account1", PeekScope::kOneAccount), 1);
  EXPECT_EQ(account.login, "fff");  // typed text is never unscrambled
  EXPECT_EQ(account.password, "");  // Cancel yields an empty text
  EXPECT_EQ(prompt.asked[0].prompt, "Benutzername:");
  EXPECT_FALSE(FileExists(kConfigFile));  // nothing remembered
}

TEST_F(CurrentAccountTest, AllAccountsModeSkipsMissingCredentialsWithoutAsking) {
  EXPECT_EQ(account.EnsureCredentials("Account1", PeekScope::kAllAccounts), kLoginMissing);
  WriteFile(kConfigFile, "[Account1]\nPOP3Account=fff\n");
  account.ClearCredentials();
  EXPECT_EQ(account.EnsureCredentials("Account1", PeekScope::kAllAccounts), kPasswordMissing);
  EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(CurrentAccountTest, ClearCredentialsForgetsValuesAndFlags) {
  prompt.answers = {{true, "me", false}, {true, "pw", false}};
  account.EnsureCredentials("Account1", PeekScope::kOneAccount);
  account.ClearCredentials();
  EXPECT_EQ(account.login, "");
  EXPECT_EQ(account.password, "");
  EXPECT_FALSE(account.login_plain);
  EXPECT_FALSE(account.password_plain);
  EXPECT_FALSE(account.folder_gate_mark);
}

}  // namespace
}  // namespace larkspin
