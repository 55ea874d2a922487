#pragma once
// Parameters of a MIME header field value ("attachment; filename=...") for the Modern charsets,
// with the RFC 2231 forms: name*=charset'language'%XX..., and continuations name*0, name*1*, ...
#include <string>
#include <string_view>

namespace larkspin {

// The value of the parameter as valid UTF-8, empty when the field has none. The name is matched
// ignoring case; a quoted value loses its quotes and backslashes; an RFC 2231 value is decoded
// from its charset (as Windows-1252 when iconv does not know it); a plain one may hold RFC 2047
// encoded words, which are decoded.
std::string ParameterValue(std::string_view field_value, std::string_view name);

}  // namespace larkspin
