#pragma once
// The rules the window adds to rules.txt for a listed message's sender: block the address, block
// its domain with its subdomains, or always allow the address. Each is one line of the file's own
// grammar, named after what it does, so the user can read and undo it in any editor.
#include <string>
#include <string_view>

namespace larkspin {

enum class SenderRule { kBlockSender, kBlockDomain, kAllowSender };

// The rule's line for address; empty when address cannot be written in a rule (no "@" and
// domain, or a blank, quote or "#" in it).
std::string SenderRuleLine(SenderRule rule, std::string_view address);

}  // namespace larkspin
