#pragma once
// Quoted-printable decoding by a fixed table: German umlauts and sharp s, some accented vowels,
// a few symbols and punctuation, the two line-break forms and the "&nbsp;" entity, each replaced
// by one Windows-1252 byte. Escapes not in the table stay as they are; hexadecimal digits must
// be upper case.
#include <string>

namespace larkspin {

// Runs one replace-all pass per table row, in table order, over the whole text.
void DecodeQuotedPrintable(std::string& text);

}  // namespace larkspin
