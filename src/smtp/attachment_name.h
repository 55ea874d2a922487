#pragma once
// The parameters that name an attached file in its part header. A short name of printable ASCII
// goes as it always has (name=..., filename="..."); any other name (non-ASCII, long, or holding a
// quote or backslash) goes in UTF-8: RFC 2047 encoded words in a quoted name= beside an RFC 2231
// filename*= that continues over numbered parameters when it is long, so every piece fits a line.
// A name that is not valid UTF-8 is read as Windows-1252.
#include <string>
#include <string_view>

namespace larkspin {

// "name=..." for Content-Type.
std::string NameParameter(std::string_view name);
// "filename=..." or "filename*=UTF-8''..." or "filename*0*=UTF-8''...; filename*1*=..." for
// Content-Disposition; the pieces are separated by "; ".
std::string FilenameParameters(std::string_view name);

}  // namespace larkspin
