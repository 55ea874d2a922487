#pragma once
// How a backend fits a list cell's text to its column.
#include <functional>
#include <string>
#include <string_view>

#include "common/text_encoding.h"

namespace larkspin {

// The text drawn in a cell of width pixels: the text with a blank either side, cut from its end
// and ended with "..." when it does not fit. A UTF-8 text is cut between whole characters.
std::string FitCellText(const std::string& text, int width, const std::function<int(std::string_view)>& measure,
                        TextEncoding encoding = TextEncoding::kClassic);

}  // namespace larkspin
