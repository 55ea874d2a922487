#include "screening/rule_lines.h"

#include "common/format.h"
#include "screening/mail_domains.h"

namespace larkspin {

namespace {
// An address that stays one token of a rule line, and whose rule names it in quotes.
bool FitsInARule(std::string_view address) {
  if (address.find_first_of(" \t\"#\r\n") != std::string_view::npos) return false;
  const size_t at = address.find('@');
  return at != std::string_view::npos && at > 0 && at + 1 < address.size();
}
}  // namespace

std::string SenderRuleLine(SenderRule rule, std::string_view address) {
  if (!FitsInARule(address)) return {};
  const std::string sender(address);
  switch (rule) {
    case SenderRule::kBlockSender:
      return FormatText("delete \"Blocked sender %s\" from %s", sender.c_str(), sender.c_str());
    case SenderRule::kBlockDomain: {
      const std::string domain = AddressDomain(address);
      return FormatText("delete \"Blocked domain %s\" from @%s", domain.c_str(), domain.c_str());
    }
    case SenderRule::kAllowSender:
      return FormatText("allow \"Allowed sender %s\" from %s", sender.c_str(), sender.c_str());
  }
  return {};
}

}  // namespace larkspin
