#pragma once
// rules.txt, the user's screening rules, one a line:
//
//   ACTION [auto] "NAME" TEST [TEST ...]
//
// ACTION is allow, delete, download or flag; auto lets an automatic peek carry the rule out
// without asking. The tests, which must all hold:
//   from ADDRESS | *@DOMAIN | @DOMAIN   that sender; any sender of that domain; of it or a subdomain
//   name PATTERN                        the sender's display name
//   subject PATTERN
//   header FIELD [PATTERN]              any such field's value as written (encoded words stay
//                                       encoded) matches; alone: the field is present
//   size > N | size < N                 N in bytes, or with k (1024) or M (1024 x 1024)
//   to-me | not-to-me                   To or Cc names one of my addresses, or none of them
//   signal NAME                         one of the signals of signals.h
// A PATTERN is a word or a "phrase" (without quotes inside), contained ignoring the case of ASCII
// letters, or a /regular expression/ (RE2, ignoring the case of every letter; it ends at a "/"
// followed by a blank or the line's end, "\/" stands for a slash). After header FIELD, a bare word
// that names a test starts that test; quote it to look for the word. The text is UTF-8 (a leading
// byte-order mark is passed over); blank lines and lines whose first non-blank is "#" are passed
// over.
//
// One line that cannot be read makes the whole file unusable: the result holds no rules then, and
// the line's number and the reason, so a half-read file never marks mail.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "screening/screening_rule.h"

namespace larkspin {

inline constexpr const char* kRuleFile = "rules.txt";

struct RuleFileError {
  int line = 0;  // from 1
  std::string reason;
  bool operator==(const RuleFileError&) const = default;
};

struct RuleFile {
  std::vector<ScreeningRule> rules;   // in the file's order; empty when error is set
  std::optional<RuleFileError> error;
};

RuleFile ParseRuleFile(std::string_view text);

}  // namespace larkspin
