#include "admin/program_lock.h"

#include <deque>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "res/resources.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

// Types the given passwords in turn; an empty optional stands for Cancel.
class TypingPrompt : public CInputPrompt {
 public:
  bool Ask(const InputRequest& request, InputAnswer& answer) override {
    ++asked;
    last_request = request;
    prompts.push_back(request.prompt);
    const std::optional<std::string> next = typed.empty() ? std::nullopt : typed.front();
    if (!typed.empty()) typed.pop_front();
    answer.text = next.value_or("");
    return next.has_value();
  }
  std::deque<std::optional<std::string>> typed;
  int asked = 0;
  InputRequest last_request;
  std::vector<std::string> prompts;
};

class ProgramLockTest : public ::testing::Test {
 protected:
  test_support::TempFolder folder;
  CProfileStore profile{folder.File("profile.ini")};
  TypingPrompt prompt;
};

TEST_F(ProgramLockTest, FirstCheckStoresThePasswordTypedTwiceAlikeScrambled) {
  prompt.typed = {"abc", "abd", "abc", std::nullopt, "abc", "abc"};
  EXPECT_TRUE(CheckProgramPassword(prompt, profile));
  EXPECT_EQ(prompt.asked, 6) << "two different entries and a cancelled repeat ask again";
  EXPECT_EQ(prompt.prompts[0], "Choose a Larkspin password (empty for none):");
  EXPECT_EQ(prompt.prompts[2], "Entries differ. Choose again (empty for none):");
  EXPECT_EQ(profile.GetString(kMainWindowSection, "pw", "null"), "fff");
  EXPECT_EQ(prompt.last_request.caption, "New Larkspin password");
  EXPECT_EQ(prompt.last_request.prompt, "Type the new password again:");
  EXPECT_TRUE(prompt.last_request.password_style);
  EXPECT_FALSE(prompt.last_request.show_remember);

  prompt.typed = {"abc", "ABC", std::nullopt};
  EXPECT_TRUE(CheckProgramPassword(prompt, profile));
  EXPECT_EQ(prompt.last_request.prompt, "Please enter your Larkspin password:");
  EXPECT_FALSE(CheckProgramPassword(prompt, profile));  // another case is refused
  EXPECT_FALSE(CheckProgramPassword(prompt, profile));  // Cancel is refused
}

TEST_F(ProgramLockTest, AnEmptyPasswordTypedTwiceMeansNone) {
  prompt.typed = {"", ""};
  EXPECT_TRUE(CheckProgramPassword(prompt, profile));
  EXPECT_EQ(profile.GetString(kMainWindowSection, "pw", "null"), "");
  EXPECT_TRUE(CheckProgramPassword(prompt, profile));
  EXPECT_EQ(prompt.asked, 2);
}

TEST_F(ProgramLockTest, CancelAtTheFirstCheckSwitchesEveryPromptOff) {
  prompt.typed = {std::nullopt};
  EXPECT_TRUE(CheckProgramPassword(prompt, profile));
  EXPECT_EQ(profile.GetString(kMainWindowSection, "pw", "null"), "");
  EXPECT_TRUE(CheckProgramPassword(prompt, profile));
  EXPECT_TRUE(CheckProgramPassword(prompt, profile));
  EXPECT_EQ(prompt.asked, 1);
}

}  // namespace
}  // namespace larkspin
