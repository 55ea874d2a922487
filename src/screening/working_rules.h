#pragma once
// The rules of a working folder: its rules.txt as last read, and whether the file changed since,
// so the window can read it again. A missing file holds no rules and is no error; a file that
// exists but cannot be opened counts as one whose line 0 cannot be read, so no rule applies and
// the user hears why.
#include <string>

#include "platform/file_watch.h"
#include "screening/rule_file.h"

namespace larkspin {

// The rule file at path, read: no rules and no error when it does not exist.
RuleFile ReadRuleFile(const std::string& path);

class CWorkingRules {
 public:
  // folder ends in "/", or is empty for the working directory. The file is read at once.
  explicit CWorkingRules(const std::string& folder);

  const RuleFile& Rules() const { return rules_; }
  // Whether the file was changed, made or removed since it was last read (its time, size or
  // identity), so Reread is due.
  bool Changed() { return watch_.Changed(); }
  // Reads the file again; the watch then takes it as it stood when the reading began.
  const RuleFile& Reread();

 private:
  std::string path_;
  CFileWatch watch_;
  RuleFile rules_;
};

}  // namespace larkspin
