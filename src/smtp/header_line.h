#pragma once
// Values typed by the user end up inside header lines; a line break in one must never start a
// new header line (header injection), so it is turned into a blank.
#include <string>
#include <string_view>

namespace larkspin {

// CR LF, a lone CR and a lone LF each become one blank.
std::string WithoutLineBreaks(std::string_view value);

}  // namespace larkspin
