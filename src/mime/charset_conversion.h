#pragma once
// Texts in a character set a message declares, converted to UTF-8 with the C library's iconv, so
// any character set iconv knows is understood.
#include <optional>
#include <string>
#include <string_view>

namespace larkspin {

// The bytes as UTF-8, or nothing when iconv does not know the character set or the bytes are not
// valid in it. A name is a character set name of MIME: letters, digits and "-_.:+()"; anything
// else (an iconv option such as "//IGNORE" among it) names no character set.
std::optional<std::string> ConvertToUtf8(std::string_view bytes, std::string_view charset);

}  // namespace larkspin
