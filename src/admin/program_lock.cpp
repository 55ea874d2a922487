#include "admin/program_lock.h"

#include "common/scramble.h"

namespace larkspin {

namespace {
constexpr const char* kPasswordKey = "pw";
constexpr const char* kNoPasswordYet = "null";

std::string AskScrambledPassword(CInputPrompt& prompt) {
  InputRequest request;
  request.caption = "Larkspin password";
  request.prompt = "Please enter your Larkspin password:";
  request.password_style = true;
  InputAnswer answer;
  if (!prompt.Ask(request, answer)) answer.text.clear();
  ScrambleText(answer.text);
  return answer.text;
}
}  // namespace

bool CheckProgramPassword(CInputPrompt& prompt, const CProfileStore& profile) {
  const std::string stored = profile.GetString(kMainWindowSection, kPasswordKey, kNoPasswordYet);
  if (stored == kNoPasswordYet) {
    profile.WriteString(kMainWindowSection, kPasswordKey, AskScrambledPassword(prompt));
    return true;
  }
  if (stored.empty()) return true;
  return AskScrambledPassword(prompt) == stored;
}

}  // namespace larkspin
