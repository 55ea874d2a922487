#pragma once
// Line ends of outgoing and stored text: every line end becomes CR LF.
#include <string>
#include <string_view>

namespace larkspin {

// CR LF, a lone LF and a lone CR each become one CR LF.
std::string NormalizeLineEnds(std::string_view text);

}  // namespace larkspin
