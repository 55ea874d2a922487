#pragma once
// The two small string tools the header decoding and the quoted-printable table rest on.
#include <string>
#include <string_view>

namespace larkspin {

// The text between the first start_mark and the first end_mark after it; empty when either is
// missing.
std::string Between(std::string_view text, std::string_view start_mark, std::string_view end_mark);

enum class ReplaceScope { kFirst, kAll };

// Replaces the first or every occurrence of pattern (case-sensitive, byte for byte), scanning left
// to right and going on after each inserted replacement, so a replacement is never searched again.
// Returns the number of replacements; an empty pattern replaces nothing.
size_t ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement, ReplaceScope scope);

}  // namespace larkspin
