// The keyring client against a real gnome-keyring on a private session bus (ctest runs each
// suite under keyring_session.sh with a daemon of its own), and with no session bus at all.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "platform/secret_store.h"
#include "support/keyring_tools.h"

namespace larkspin::test_support {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr unsigned kWaitMs = 5000;
const SecretKey kAnna{"pop.example.org", "anna"};
const SecretKey kBert{"pop.example.org", "bert"};

// The reply of call and how long it took, in milliseconds.
std::pair<SecretReply, double> Timed(const std::function<SecretReply()>& call) {
  const auto start = std::chrono::steady_clock::now();
  SecretReply reply = call();
  return {reply, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count()};
}

TEST(RealKeyring, PasswordsAreKeptByHostAndLoginUntilRemovedAndAnotherClientSeesThem) {
  const struct {
    std::function<SecretReply()> call;
    SecretResult result;
    std::string secret;
  } steps[] = {
      {[] { return LookUpSecret(kAnna, kWaitMs); }, SecretResult::kNotFound, ""},
      {[] { return StoreSecret(kAnna, "first", kWaitMs); }, SecretResult::kDone, ""},
      {[] { return StoreSecret(kBert, "other", kWaitMs); }, SecretResult::kDone, ""},
      {[] { return LookUpSecret(kAnna, kWaitMs); }, SecretResult::kDone, "first"},
      {[] { return StoreSecret(kAnna, "s\xC3\xA9" "cret 2", kWaitMs); }, SecretResult::kDone, ""},
      {[] { return LookUpSecret(kAnna, kWaitMs); }, SecretResult::kDone, "s\xC3\xA9" "cret 2"},
      {[] { return RemoveSecret(kAnna, kWaitMs); }, SecretResult::kDone, ""},
      {[] { return LookUpSecret(kAnna, kWaitMs); }, SecretResult::kNotFound, ""},
      {[] { return RemoveSecret(kAnna, kWaitMs); }, SecretResult::kDone, ""},
      {[] { return LookUpSecret(kBert, kWaitMs); }, SecretResult::kDone, "other"},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    const auto [reply, ms] = Timed(steps[i].call);
    EXPECT_EQ(reply.result, steps[i].result) << "step " << i << ": " << reply.problem;
    EXPECT_EQ(reply.secret, steps[i].secret) << "step " << i;
    std::printf("step %zu: %.1f ms\n", i, ms);
  }
  const std::string seen = SecretToolSearch(kBert.host, kBert.login);
  EXPECT_THAT(seen, HasSubstr("label = Larkspin: bert@pop.example.org\nsecret = other\n"));
  EXPECT_THAT(seen, HasSubstr("schema = org.larkspin.Password"));
}

TEST(LockedKeyring, ALockedKeyringIsReportedWithoutAPrompt) {
  ASSERT_EQ(StoreSecret(kAnna, "before the lock", kWaitMs).result, SecretResult::kDone);
  ASSERT_TRUE(LockDefaultCollection());
  const SecretReply lookup = LookUpSecret(kAnna, kWaitMs);
  EXPECT_EQ(lookup.result, SecretResult::kFailed);
  EXPECT_EQ(lookup.problem, "the keyring is locked");
  EXPECT_EQ(lookup.secret, "");
  EXPECT_EQ(StoreSecret(kBert, "while locked", kWaitMs).problem, "the keyring is locked") << "refused before any prompt";
}

TEST(StuckKeyring, AServiceThatNeverAnswersEndsTheCallAtItsTimeLimit) {
  ASSERT_EQ(StoreSecret(kAnna, "before", kWaitMs).result, SecretResult::kDone);
  const char* daemon = std::getenv("LARKSPIN_KEYRING_PID");
  ASSERT_NE(daemon, nullptr);
  ASSERT_EQ(kill(std::atoi(daemon), SIGSTOP), 0);
  const auto [reply, ms] = Timed([] { return LookUpSecret(kAnna, 300); });
  kill(std::atoi(daemon), SIGCONT);
  EXPECT_EQ(reply.problem, "the keyring did not answer within 300 ms");
  EXPECT_LT(ms, 3000);
}

TEST(NoKeyring, EveryCallFailsAtOnceAndSaysWhy) {
  for (const auto& call : {std::function<SecretReply()>([] { return StoreSecret(kAnna, "x", kWaitMs); }),
                           std::function<SecretReply()>([] { return LookUpSecret(kAnna, kWaitMs); }),
                           std::function<SecretReply()>([] { return RemoveSecret(kAnna, kWaitMs); })}) {
    const auto [reply, ms] = Timed(call);
    EXPECT_EQ(reply.result, SecretResult::kFailed);
    EXPECT_THAT(reply.problem, StartsWith("the keyring is not available: "));
    EXPECT_LT(ms, 3000);
  }
}

}  // namespace
}  // namespace larkspin::test_support
