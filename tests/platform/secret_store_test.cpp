// The keyring client against a real gnome-keyring on a private session bus (ctest runs these
// under keyring_session.sh, one daemon per suite), and with no session bus at all.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>

#include "platform/secret_store.h"
#include "support/keyring_tools.h"

namespace larkspin::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr unsigned kWaitMs = 5000;
const SecretKey kAnna{"pop.example.org", "anna"};
const SecretKey kBert{"pop.example.org", "bert"};

double MillisecondsOf(const std::function<void()>& step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

TEST(RealKeyring, PasswordsAreKeptByHostAndLoginUntilRemoved) {
  struct Step {
    const char* what;
    std::function<SecretReply()> call;
    SecretResult result;
    std::string secret;
  };
  const Step steps[] = {
      {"nothing stored yet", [] { return LookUpSecret(kAnna, kWaitMs); }, SecretResult::kNotFound, ""},
      {"store", [] { return StoreSecret(kAnna, "first", kWaitMs); }, SecretResult::kDone, ""},
      {"store another login", [] { return StoreSecret(kBert, "other", kWaitMs); }, SecretResult::kDone, ""},
      {"look up", [] { return LookUpSecret(kAnna, kWaitMs); }, SecretResult::kDone, "first"},
      {"replace", [] { return StoreSecret(kAnna, "s\xC3\xA9" "cret 2", kWaitMs); }, SecretResult::kDone, ""},
      {"look up the new one", [] { return LookUpSecret(kAnna, kWaitMs); }, SecretResult::kDone, "s\xC3\xA9" "cret 2"},
      {"remove", [] { return RemoveSecret(kAnna, kWaitMs); }, SecretResult::kDone, ""},
      {"removed", [] { return LookUpSecret(kAnna, kWaitMs); }, SecretResult::kNotFound, ""},
      {"remove again", [] { return RemoveSecret(kAnna, kWaitMs); }, SecretResult::kDone, ""},
      {"the other login stays", [] { return LookUpSecret(kBert, kWaitMs); }, SecretResult::kDone, "other"},
  };
  for (const Step& step : steps) {
    const SecretReply reply = step.call();
    EXPECT_EQ(reply.result, step.result) << step.what << ": " << reply.problem;
    EXPECT_EQ(reply.secret, step.secret) << step.what;
  }
}

TEST(RealKeyring, AnotherClientSeesTheItemWithItsLabelAndTimingsAreShown) {
  double store_ms = 0;
  double lookup_ms = 0;
  store_ms = MillisecondsOf([] { ASSERT_EQ(StoreSecret(kAnna, "cross-check", kWaitMs).result, SecretResult::kDone); });
  lookup_ms = MillisecondsOf([] { ASSERT_EQ(LookUpSecret(kAnna, kWaitMs).secret, "cross-check"); });
  std::printf("keyring store %.1f ms, lookup %.1f ms\n", store_ms, lookup_ms);
  const std::string found = SecretToolSearch(kAnna.host, kAnna.login);
  EXPECT_THAT(found, HasSubstr("label = Larkspin: anna@pop.example.org"));
  EXPECT_THAT(found, HasSubstr("secret = cross-check"));
  EXPECT_THAT(found, HasSubstr("schema = org.larkspin.Password"));
}

TEST(LockedKeyring, ALockedKeyringIsReportedWithoutAPrompt) {
  ASSERT_EQ(StoreSecret(kAnna, "before the lock", kWaitMs).result, SecretResult::kDone);
  ASSERT_TRUE(LockDefaultCollection());
  const SecretReply lookup = LookUpSecret(kAnna, kWaitMs);
  EXPECT_EQ(lookup.result, SecretResult::kFailed);
  EXPECT_EQ(lookup.problem, "the keyring is locked");
  EXPECT_TRUE(lookup.secret.empty());
  const SecretReply store = StoreSecret(kBert, "while locked", kWaitMs);
  EXPECT_EQ(store.result, SecretResult::kFailed);
  EXPECT_THAT(store.problem, HasSubstr("locked"));
}

TEST(StuckKeyring, AServiceThatNeverAnswersEndsTheCallAtItsTimeLimit) {
  ASSERT_EQ(StoreSecret(kAnna, "before", kWaitMs).result, SecretResult::kDone);
  const pid_t daemon = KeyringDaemon();
  ASSERT_GT(daemon, 0);
  ASSERT_EQ(kill(daemon, SIGSTOP), 0);
  SecretReply reply;
  const double ms = MillisecondsOf([&] { reply = LookUpSecret(kAnna, 300); });
  kill(daemon, SIGCONT);
  EXPECT_EQ(reply.result, SecretResult::kFailed);
  EXPECT_EQ(reply.problem, "the keyring did not answer within 300 ms");
  EXPECT_LT(ms, 3000);
}

TEST(NoKeyring, EveryCallFailsAtOnceAndSaysWhy) {
  for (const auto& call : std::vector<std::function<SecretReply()>>{
           [] { return StoreSecret(kAnna, "x", kWaitMs); }, [] { return LookUpSecret(kAnna, kWaitMs); },
           [] { return RemoveSecret(kAnna, kWaitMs); }}) {
    SecretReply reply;
    const double ms = MillisecondsOf([&] { reply = call(); });
    EXPECT_EQ(reply.result, SecretResult::kFailed);
    EXPECT_THAT(reply.problem, StartsWith("the keyring is not available: "));
    EXPECT_LT(ms, 3000);
  }
}

}  // namespace
}  // namespace larkspin::testing
