#include "admin/account_admin.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "config/working_files.h"
#include "support/fake_pop3_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::FakePop3Server;
using test_support::ReadFile;
using test_support::Reply;
using test_support::WriteFile;
using ::testing::ElementsAre;

class NoPrompt : public CInputPrompt {
 public:
  bool Ask(const InputRequest& request, InputAnswer&) override {
    ADD_FAILURE() << "unexpected prompt " << request.caption;
    return false;
  }
};

class AccountAdminTest : public ::testing::Test {
 protected:
  AccountAdminTest() {
    WriteFile(kConfigFile, "[Account2]\nPOP3Account=fff\nPOP3Password=fff\nFullName=Anna\n");
    account.EnsureCredentials("Account2", PeekScope::kOneAccount);
  }
  test_support::TempFolder folder;
  test_support::ScopedWorkingDirectory here{folder.Path()};
  NoPrompt prompt;
  CCurrentAccount account{prompt};
  AccountSelection selection{2, "Work", false};
};

TEST_F(AccountAdminTest, ForgettingACredentialForgetsOnlyThatValue) {
  EXPECT_EQ(ForgetStoredCredential(2, account, StoredCredential::kLogin), "");
  EXPECT_EQ(ReadFile(kConfigFile), "[Account2]\nPOP3Account=\nPOP3Password=fff\nFullName=Anna\n");
  EXPECT_EQ(account.login, "");
  EXPECT_FALSE(account.login_plain);
  EXPECT_EQ(account.password, "abc");
  EXPECT_EQ(ForgetStoredCredential(2, account, StoredCredential::kPassword), "");
  EXPECT_EQ(ReadFile(kConfigFile), "[Account2]\nPOP3Account=\nPOP3Password=\nFullName=Anna\n");
  EXPECT_EQ(account.password, "");
}

TEST_F(AccountAdminTest, UnlockQuitsEvenWhenStatIsRefused) {
  FakePop3Server server;
  server.ServeMailbox({});
  server.On("STAT", Reply("-ERR mailbox in use\r\n"));
  account.pop3_host = "127.0.0.1";
  account.pop3_port = server.Port();
  account.full_name = "Anna";
  CPop3Client client;
  bool connected = false;
  std::vector<std::string> statuses;
  UnlockAccount(selection, account, client, connected, [&](const std::string& text) { statuses.push_back(text); });
  EXPECT_THAT(statuses, ElementsAre("Unlocking '127.0.0.1' for user 'Anna' ...", "Error Statistics: -ERR mailbox in use",
                                    "'127.0.0.1' unlocked successfully"));
  EXPECT_FALSE(connected);
  EXPECT_THAT(server.ReceivedLines(), ElementsAre("CAPA", "USER abc", "PASS abc", "STAT", "QUIT"));
}

TEST_F(AccountAdminTest, UnlockReportsARefusedLoginAndAFailedQuit) {
  FakePop3Server refusing;
  refusing.On("USER", Reply("-ERR go away\r\n"));
  refusing.On("QUIT", Reply("+OK\r\n"));
  account.pop3_host = "127.0.0.1";
  account.pop3_port = refusing.Port();
  CPop3Client client;
  bool connected = false;
  std::string status;
  auto set_status = [&](const std::string& text) { status = text; };
  UnlockAccount(selection, account, client, connected, set_status);
  EXPECT_EQ(status, "Error connecting to 127.0.0.1: -ERR go away");
  EXPECT_FALSE(connected);

  FakePop3Server no_quit;
  no_quit.ServeMailbox({});
  no_quit.On("QUIT", Reply("-ERR cannot commit\r\n"));
  account.pop3_port = no_quit.Port();
  UnlockAccount(selection, account, client, connected, set_status);
  EXPECT_EQ(status, "Error Disconnect: -ERR cannot commit");
  EXPECT_TRUE(connected);
}

}  // namespace
}  // namespace larkspin
