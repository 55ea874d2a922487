// The command line with PasswordStore=Keyring: ctest runs the RealKeyring suite under
// keyring_session.sh (a private gnome-keyring) and the NoKeyring suite with no session bus.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli_runner.h"
#include "common/scramble.h"
#include "platform/secret_store.h"
#include "support/fake_pop3_server.h"
#include "support/keyring_tools.h"
#include "support/temp_folder.h"

namespace larkspin::test_support {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

const std::string kKeyring = "PasswordStore=Keyring\r\n";
const SecretKey kUsersKey{"127.0.0.1", "user"};
const std::string kMessage = "From: <bob@example.org>\r\nSubject: Hello\r\nDate: Wed, 3 Mar 2004 09:00:00 +0100\r\n\r\nHi\r\n";

class KeyringCliTest : public ::testing::Test {
 protected:
  KeyringCliTest() {
    server_.ServeMailbox({kMessage});
    RemoveSecret(kUsersKey, 5000);  // each test starts without the item (fails harmlessly without a keyring)
  }
  // Box 1 on the fake server with login "user" and password "secret" in config.ini; Box 2 without.
  void Configure(const std::string& system_lines) {
    WriteFile(folder_.File("config.ini"), ConfigFor({server_.Port(), 0}, system_lines));
  }
  CliRun Run(const std::vector<std::string>& arguments) { return RunLarkspin(folder_.Path(), arguments); }
  bool ConfigHoldsPassword() const {
    return ReadFile(folder_.File("config.ini")).find("POP3Password=" + Scrambled("secret")) != std::string::npos;
  }

  TempFolder folder_;
  FakePop3Server server_;
};

TEST_F(KeyringCliTest, RealKeyringMigrationMovesThePasswordThatPeekThenReads) {
  Configure(kKeyring);
  const CliRun migrated = Run({"migrate-passwords"});
  EXPECT_EQ(migrated.exit_status, 0) << migrated.err;
  EXPECT_EQ(migrated.out,
            "account 1 (Box 1): moved to the keyring as \"Larkspin: user@127.0.0.1\"\n"
            "account 2 (Box 2): no password in config.ini\n");
  EXPECT_FALSE(ConfigHoldsPassword());
  EXPECT_THAT(SecretToolSearch("127.0.0.1", "user"), HasSubstr("secret = secret"));

  const CliRun peek = Run({"peek", "--account", "1"});
  EXPECT_EQ(peek.exit_status, 0) << peek.err;
  EXPECT_THAT(peek.out, HasSubstr("Hello"));
  EXPECT_THAT(server_.ReceivedLines(), Contains("PASS secret"));
}

TEST_F(KeyringCliTest, RealKeyringMigrationNeedsTheSettingAndMovesNothingWithoutIt) {
  Configure("");
  const CliRun run = Run({"migrate-passwords"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.err, "larkspin: set PasswordStore=Keyring in [System] of config.ini first; nothing was moved\n");
  EXPECT_TRUE(ConfigHoldsPassword());
  EXPECT_EQ(SecretToolSearch("127.0.0.1", "user"), "");
}

TEST_F(KeyringCliTest, NoKeyringFailsTheCommandsWithTheReasonAndKeepsConfigIni) {
  Configure(kKeyring);
  const CliRun migrated = Run({"migrate-passwords"});
  EXPECT_EQ(migrated.exit_status, 1);
  EXPECT_THAT(migrated.err, HasSubstr("larkspin: account 1 (Box 1): Password for user@127.0.0.1 not moved to the "
                                      "keyring: the keyring is not available: "));
  EXPECT_TRUE(ConfigHoldsPassword());

  const CliRun peek = Run({"peek", "--account", "1"});
  EXPECT_EQ(peek.exit_status, 1);
  EXPECT_THAT(peek.err, HasSubstr("account 1 (Box 1) skipped: Password for user@127.0.0.1 not read from the keyring: "
                                  "the keyring is not available: "));
  EXPECT_THAT(server_.ReceivedLines(), Not(Contains("PASS secret")));
  EXPECT_THAT(ReadFile(folder_.File("larkspin.log")), HasSubstr("not read from the keyring"));
}

}  // namespace
}  // namespace larkspin::test_support
