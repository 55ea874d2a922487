#pragma once
// The German umlauts of Windows-1252 spelled out, for servers and readers that mangle 8-bit text.
#include <string>
#include <string_view>

namespace larkspin {

// a, o, u umlaut to "ae", "oe", "ue", their capitals to "Ae", "Oe", "Ue", sharp s to "ss".
std::string StripUmlauts(std::string_view text);

}  // namespace larkspin
