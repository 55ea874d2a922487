#pragma once
// Small string tools: the header decoding and the quoted-printable table rest on Between and
// ReplaceAll; keys, settings and protocol words are compared with EqualsIgnoringCase.
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

// The text without the given characters at its start and end (blanks and tabs by default).
std::string_view Trimmed(std::string_view text, std::string_view characters = " \t");

// Equal when the texts have the same length and differ only in the case of ASCII letters; other
// bytes (Windows-1252 letters included) must match exactly.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// The letter in lower case for ASCII letters; every other byte as it is.
char LowerAscii(char c);
// The text with its ASCII letters in lower case.
std::string LowercaseAscii(std::string_view text);

}  // namespace larkspin
