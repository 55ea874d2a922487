#pragma once
// SMTP dot-stuffing of message data (RFC 5321, 4.5.2).
#include <string>
#include <string_view>

namespace larkspin {

// Doubles the dot that begins a line: after every LF and, because the text is always sent at the
// start of a line, at the very start of the text too. Each line gets at most one extra dot.
std::string DotStuff(std::string_view text);

}  // namespace larkspin
