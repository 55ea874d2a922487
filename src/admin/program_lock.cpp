#include "admin/program_lock.h"

#include "common/scramble.h"
#include "res/resources.h"

namespace larkspin {

namespace {
constexpr const char* kPasswordKey = "pw";
constexpr const char* kNoPasswordYet = "null";

constexpr const char* kChoosePrompt = "Choose a Larkspin password (empty for none):";
constexpr const char* kDifferedPrompt = "Entries differ. Choose again (empty for none):";

// The typed text scrambled; Cancel types nothing. false for Cancel.
bool AskScrambled(CInputPrompt& prompt, const std::string& caption, const std::string& text, std::string& scrambled) {
  InputRequest request;
  request.caption = caption;
  request.prompt = text;
  request.password_style = true;
  InputAnswer answer;
  const bool confirmed = prompt.Ask(request, answer);
  if (!confirmed) answer.text.clear();
  ScrambleText(answer.text);
  scrambled = answer.text;
  return confirmed;
}

std::string AskScrambledPassword(CInputPrompt& prompt) {
  std::string scrambled;
  AskScrambled(prompt, "Larkspin password", "Please enter your Larkspin password:", scrambled);
  return scrambled;
}

// The new password, typed twice alike; Cancel at the first question chooses none.
std::string ChooseScrambledPassword(CInputPrompt& prompt) {
  const char* question = kChoosePrompt;
  for (;;) {
    std::string first;
    std::string second;
    if (!AskScrambled(prompt, "New Larkspin password", question, first)) return {};
    if (AskScrambled(prompt, "New Larkspin password", "Type the new password again:", second) && first == second)
      return first;
    question = kDifferedPrompt;
  }
}
}  // namespace

bool CheckProgramPassword(CInputPrompt& prompt, const CProfileStore& profile) {
  const std::string stored = profile.GetString(kMainWindowSection, kPasswordKey, kNoPasswordYet);
  if (stored == kNoPasswordYet) {
    profile.WriteString(kMainWindowSection, kPasswordKey, ChooseScrambledPassword(prompt));
    return true;
  }
  if (stored.empty()) return true;
  return AskScrambledPassword(prompt) == stored;
}

}  // namespace larkspin
