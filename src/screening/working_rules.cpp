#include "screening/working_rules.h"

#include "platform/file_system.h"

namespace larkspin {

RuleFile ReadRuleFile(const std::string& path) {
  if (!FileExists(path)) return {};
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text) return {{}, RuleFileError{0, "the file cannot be opened"}};
  return ParseRuleFile(*text);
}

CWorkingRules::CWorkingRules(const std::string& folder) : path_(folder + kRuleFile), watch_(path_) { Reread(); }

const RuleFile& CWorkingRules::Reread() {
  watch_.Rebase();
  rules_ = ReadRuleFile(path_);
  return rules_;
}

}  // namespace larkspin
