#include "pop3/pop3_capabilities.h"

#include <algorithm>

#include "common/string_tools.h"

namespace larkspin {

namespace {
// The words of one line, split at blanks and tabs.
std::vector<std::string_view> WordsOf(std::string_view line) {
  std::vector<std::string_view> words;
  size_t start = line.find_first_not_of(" \t");
  while (start != std::string_view::npos) {
    const size_t end = std::min(line.find_first_of(" \t", start), line.size());
    words.push_back(line.substr(start, end - start));
    start = line.find_first_not_of(" \t", end);
  }
  return words;
}

std::string ArgumentsOf(std::string_view line, std::string_view tag) {
  const size_t start = line.find_first_not_of(" \t", line.find(tag) + tag.size());
  return start == std::string_view::npos ? std::string() : std::string(line.substr(start));
}

void NoteLine(std::string_view line, Pop3Capabilities& capabilities) {
  const std::vector<std::string_view> words = WordsOf(line);
  if (words.empty()) return;
  const std::string_view tag = words.front();
  if (EqualsIgnoringCase(tag, "PIPELINING")) capabilities.pipelining = true;
  else if (EqualsIgnoringCase(tag, "TOP")) capabilities.top = true;
  else if (EqualsIgnoringCase(tag, "UIDL")) capabilities.uidl = true;
  else if (EqualsIgnoringCase(tag, "STLS")) capabilities.stls = true;
  else if (EqualsIgnoringCase(tag, "RESP-CODES")) capabilities.resp_codes = true;
  else if (EqualsIgnoringCase(tag, "LOGIN-DELAY")) capabilities.login_delay = ArgumentsOf(line, tag);
  else if (EqualsIgnoringCase(tag, "SASL")) capabilities.sasl.assign(words.begin() + 1, words.end());
}
}  // namespace

Pop3Capabilities ParseCapabilities(std::string_view listing) {
  Pop3Capabilities capabilities;
  capabilities.answered = true;
  while (!listing.empty()) {
    const size_t end = listing.find('\n');
    std::string_view line = listing.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    NoteLine(line, capabilities);
    listing.remove_prefix(end == std::string_view::npos ? listing.size() : end + 1);
  }
  return capabilities;
}

}  // namespace larkspin
