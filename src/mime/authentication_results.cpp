#include "mime/authentication_results.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "common/string_tools.h"

namespace larkspin {

namespace {
constexpr std::string_view kBlanks = " \t\r\n";

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::ranges::transform(lower, lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

// The statements between ";", comments dropped (nested, with quoted bytes) and quoted strings
// kept whole, so a ";" in either separates nothing.
std::vector<std::string> Statements(std::string_view value) {
  std::vector<std::string> statements(1);
  int depth = 0;
  bool quoted = false;
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if ((quoted || depth > 0) && c == '\\') {
      ++i;
    } else if (depth == 0 && c == '"') {
      quoted = !quoted;
      statements.back() += c;
    } else if (!quoted && c == '(') {
      ++depth;
    } else if (!quoted && depth > 0 && c == ')') {
      --depth;
      statements.back() += ' ';
    } else if (depth > 0) {
    } else if (!quoted && c == ';') {
      statements.emplace_back();
    } else {
      statements.back() += c;
    }
  }
  return statements;
}

void KeepFirst(std::string& kept, std::string_view result) {
  if (kept.empty()) kept = Lower(result);
}
}  // namespace

AuthenticationResults ParseAuthenticationResults(std::string_view value) {
  AuthenticationResults results;
  const std::vector<std::string> statements = Statements(value);
  for (size_t i = 0; i < statements.size(); ++i) {
    const std::string_view statement = Trimmed(statements[i], kBlanks);
    const std::string_view first_word = statement.substr(0, statement.find_first_of(kBlanks));
    const size_t equals = first_word.find('=');
    if (equals == std::string_view::npos) {
      if (i == 0) results.server = std::string(first_word);
      continue;
    }
    const std::string method = Lower(first_word.substr(0, std::min(equals, first_word.find('/'))));
    const std::string_view result = Trimmed(first_word.substr(equals + 1), kBlanks);
    if (method == "spf") KeepFirst(results.spf, result);
    if (method == "dkim") KeepFirst(results.dkim, result);
    if (method == "dmarc") KeepFirst(results.dmarc, result);
  }
  return results;
}

}  // namespace larkspin
