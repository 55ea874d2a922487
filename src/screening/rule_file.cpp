#include "screening/rule_file.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <limits>

#include "common/string_tools.h"
#include "screening/mail_domains.h"

namespace larkspin {

namespace {
struct Token {
  enum class Kind { kWord, kPhrase, kRegex };
  Kind kind = Kind::kWord;
  std::string text;
};

// Thrown inside one line's reading, caught once per line.
struct LineError {
  std::string reason;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The end of a /regex/ starting at start: the first "/" not escaped by "\" that ends the token.
size_t RegexEnd(std::string_view line, size_t start) {
  for (size_t i = start + 1; i < line.size(); ++i) {
    if (line[i] == '\\') {
      ++i;
      continue;
    }
    if (line[i] == '/' && (i + 1 == line.size() || IsBlank(line[i + 1]))) return i;
  }
  throw LineError{"a regular expression without its closing /"};
}

std::vector<Token> Tokens(std::string_view line) {
  std::vector<Token> tokens;
  size_t i = 0;
  while (true) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) return tokens;
    if (line[i] == '"') {
      const size_t end = line.find('"', i + 1);
      if (end == std::string_view::npos) throw LineError{"a phrase without its closing quote"};
      tokens.push_back({Token::Kind::kPhrase, std::string(line.substr(i + 1, end - i - 1))});
      i = end + 1;
    } else if (line[i] == '/') {
      const size_t end = RegexEnd(line, i);
      tokens.push_back({Token::Kind::kRegex, std::string(line.substr(i + 1, end - i - 1))});
      i = end + 1;
    } else {
      size_t end = i;
      while (end < line.size() && !IsBlank(line[end])) ++end;
      tokens.push_back({Token::Kind::kWord, std::string(line.substr(i, end - i))});
      i = end;
    }
  }
}

constexpr std::array<std::string_view, 8> kTestWords = {"from", "name", "subject", "header",
                                                        "size", "to-me", "not-to-me", "signal"};

bool IsTestWord(const Token& token) {
  if (token.kind != Token::Kind::kWord) return false;
  for (std::string_view word : kTestWords)
    if (EqualsIgnoringCase(token.text, word)) return true;
  return false;
}

bool Is(const Token& token, std::string_view word) {
  return token.kind == Token::Kind::kWord && EqualsIgnoringCase(token.text, word);
}

// Reads one rule's tokens in order.
class CRuleReader {
 public:
  explicit CRuleReader(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  ScreeningRule Rule() {
    ScreeningRule rule;
    rule.action = Action(Next("an action"));
    if (!AtEnd() && Is(tokens_[at_], "auto")) {
      rule.automatic = true;
      ++at_;
    }
    if (AtEnd() || tokens_[at_].kind != Token::Kind::kPhrase) throw LineError{"the rule's \"name\" in quotes is missing"};
    rule.name = tokens_[at_++].text;
    if (Trimmed(rule.name).empty()) throw LineError{"the rule's name is empty"};
    while (!AtEnd()) rule.tests.push_back(Test());
    if (rule.tests.empty()) throw LineError{"the rule \"" + rule.name + "\" has no tests"};
    return rule;
  }

 private:
  bool AtEnd() const { return at_ == tokens_.size(); }

  const Token& Next(std::string_view what) {
    if (AtEnd()) throw LineError{std::string(what) + " is missing at the end of the line"};
    return tokens_[at_++];
  }

  const Token& NextWord(std::string_view what) {
    const Token& token = Next(what);
    if (token.kind != Token::Kind::kWord) throw LineError{std::string(what) + " is missing before \"" + token.text + "\""};
    return token;
  }

  static RuleAction Action(const Token& token) {
    for (const RuleAction action : kRuleActions)
      if (Is(token, ActionName(action))) return action;
    throw LineError{"unknown action \"" + token.text + "\" (allow, delete, download or flag)"};
  }

  RuleTest Test() {
    const Token& keyword = Next("a test");
    RuleTest test;
    if (Is(keyword, "from")) return FromTest(NextWord("the address after from").text);
    if (Is(keyword, "name") || Is(keyword, "subject")) {
      test.kind = Is(keyword, "name") ? RuleTestKind::kName : RuleTestKind::kSubject;
      test.pattern = Pattern(Next("the pattern after " + keyword.text));
    } else if (Is(keyword, "header")) {
      test.text = NextWord("the field name after header").text;
      if (test.text.find(':') != std::string::npos) throw LineError{"a field name without \":\" is expected after header"};
      test.kind = RuleTestKind::kHeaderPresent;
      if (!AtEnd() && !IsTestWord(tokens_[at_])) {
        test.kind = RuleTestKind::kHeader;
        test.pattern = Pattern(tokens_[at_++]);
      }
    } else if (Is(keyword, "size")) {
      const Token& comparison = NextWord("> or < after size");
      if (comparison.text != ">" && comparison.text != "<") throw LineError{"size takes > or <, not \"" + comparison.text + "\""};
      test.kind = comparison.text == ">" ? RuleTestKind::kSizeAbove : RuleTestKind::kSizeBelow;
      test.bytes = Bytes(NextWord("the size after size " + comparison.text).text);
    } else if (Is(keyword, "to-me") || Is(keyword, "not-to-me")) {
      test.kind = Is(keyword, "to-me") ? RuleTestKind::kToMe : RuleTestKind::kNotToMe;
    } else if (Is(keyword, "signal")) {
      const std::string& name = NextWord("the signal's name after signal").text;
      const std::optional<Signal> signal = SignalNamed(name);
      if (!signal) throw LineError{"unknown signal \"" + name + "\""};
      test.kind = RuleTestKind::kSignal;
      test.signal = *signal;
    } else {
      throw LineError{"unknown test \"" + keyword.text + "\""};
    }
    return test;
  }

  static RuleTest FromTest(const std::string& written) {
    const size_t at = written.rfind('@');
    if (at == std::string::npos || at + 1 == written.size() || written.find('@') != at)
      throw LineError{"from takes an address, *@domain or @domain, not \"" + written + "\""};
    RuleTest test;
    test.text = AddressDomain(written);
    if (at == 0) {
      test.kind = RuleTestKind::kFromDomainTree;
    } else if (at == 1 && written[0] == '*') {
      test.kind = RuleTestKind::kFromDomain;
    } else {
      test.kind = RuleTestKind::kFromAddress;
      test.text = written;
    }
    return test;
  }

  static CTextPattern Pattern(const Token& token) {
    if (token.kind == Token::Kind::kRegex) {
      std::string error;
      std::optional<CTextPattern> pattern = CTextPattern::Regex(token.text, error);
      if (!pattern) throw LineError{"the regular expression /" + token.text + "/ cannot be read: " + error};
      return *pattern;
    }
    if (token.text.empty()) throw LineError{"an empty phrase would match anything"};
    return CTextPattern::Contains(token.text);
  }

  static uint64_t Bytes(std::string_view written) {
    uint64_t unit = 1;
    if (written.ends_with('k') || written.ends_with('K')) unit = 1024;
    if (written.ends_with('M')) unit = 1024 * 1024;
    const std::string_view digits = unit == 1 ? written : written.substr(0, written.size() - 1);
    uint64_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty() ||
        number > std::numeric_limits<uint32_t>::max())
      throw LineError{"a size is a number with k or M, not \"" + std::string(written) + "\""};
    return number * unit;
  }

  std::vector<Token> tokens_;
  size_t at_ = 0;
};

bool IsCommentOrBlank(std::string_view line) {
  const std::string_view rest = Trimmed(line);
  return rest.empty() || rest.front() == '#';
}
}  // namespace

RuleFile ParseRuleFile(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // the byte-order mark some editors write
  RuleFile file;
  int number = 0;
  while (!text.empty()) {
    ++number;
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (IsCommentOrBlank(line)) continue;
    try {
      file.rules.push_back(CRuleReader(Tokens(line)).Rule());
    } catch (const LineError& error) {
      return RuleFile{{}, RuleFileError{number, error.reason}};
    }
  }
  return file;
}

}  // namespace larkspin
