#pragma once
// What a rule's subject, name and header tests look for: a word or a "quoted phrase", found
// anywhere in the text ignoring the case of ASCII letters, or a /regular expression/ searched
// ignoring the case of every letter with RE2, which runs in linear time, so no pattern in a rule
// file can stall a peek. Patterns and texts are UTF-8.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace re2 {
class RE2;
}

namespace larkspin {

// A text that patterns are matched against, with its lower-case copy made once for all the words
// and phrases that look into it.
struct PatternText {
  explicit PatternText(std::string text);
  std::string text;
  std::string lowered;
};

class CTextPattern {
 public:
  // A word or phrase, as written in the rule (without its quotes).
  static CTextPattern Contains(std::string_view text);
  // A regular expression, or nullopt with RE2's reason in error.
  static std::optional<CTextPattern> Regex(std::string_view expression, std::string& error);

  bool Matches(const PatternText& text) const;
  bool Matches(std::string_view text) const { return Matches(PatternText(std::string(text))); }

 private:
  std::string lowered_;                     // the word or phrase in lower case
  std::shared_ptr<const re2::RE2> regex_;   // set for a regular expression; copies share it
};

}  // namespace larkspin
