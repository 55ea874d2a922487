#pragma once
// The charset label a text goes out under. Classic texts are Windows-1252 bytes: they are
// labelled ISO-8859-1 while they hold none of the bytes the two differ in (0x80 to 0x9F, where
// Windows-1252 has the dashes, quotes and the euro sign), else Windows-1252.
#include <string>
#include <string_view>

#include "common/text_encoding.h"

namespace larkspin {

// "windows-1252" for a Classic text under the charset "iso-8859-1" (any case) that holds a byte
// from 0x80 to 0x9F; the charset unchanged otherwise (UTF-8 texts, other charsets).
std::string SentCharsetOf(std::string_view text, std::string_view charset, TextEncoding encoding);

}  // namespace larkspin
