#pragma once
// A server's text as it may be quoted to the user (a message box, the log, standard error): at
// most max_bytes (kMaxQuotedServerText unless a caller needs less), a longer text cut with "..." at its end, and every control
// character (line breaks and tabs included) a blank, so one reply stays one short line.
#include <cstddef>
#include <string>
#include <string_view>

namespace larkspin {

inline constexpr size_t kMaxQuotedServerText = 512;

std::string QuotedServerText(std::string_view text, size_t max_bytes = kMaxQuotedServerText);

}  // namespace larkspin
