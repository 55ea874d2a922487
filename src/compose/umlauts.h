#pragma once
// The German umlauts of Windows-1252 spelled out, for servers and readers that mangle 8-bit text.
#include <string>
#include <string_view>

#include "common/text_encoding.h"

namespace larkspin {

// a, o, u umlaut to "ae", "oe", "ue", their capitals to "Ae", "Oe", "Ue", sharp s to "ss", in
// a text of Windows-1252 bytes or of UTF-8.
std::string StripUmlauts(std::string_view text, TextEncoding encoding = TextEncoding::kClassic);

}  // namespace larkspin
