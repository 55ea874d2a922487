#pragma once
// Windows-1252, the program's "ANSI code page": message files, the wire and the encoders work in
// its bytes. These conversions are used where text meets UTF-8: encoded words and bodies with a
// UTF-8 charset, and the terminal and command line.
#include <string>
#include <string_view>

namespace larkspin {

// Each Windows-1252 byte as UTF-8. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) stand for the control characters of the same number.
std::string AnsiToUtf8(std::string_view ansi);

bool IsValidUtf8(std::string_view text);
// A byte that continues a UTF-8 character rather than starting one.
inline bool IsUtf8Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Bytes whose encoding is not known, as UTF-8: valid UTF-8 is kept as it is, anything else is
// read as Windows-1252.
std::string AsUtf8(std::string_view bytes);

// Valid UTF-8 converted to Windows-1252, a character the code page lacks written as "?";
// anything that is not valid UTF-8 is taken as Windows-1252 already and returned unchanged.
std::string TypedTextToAnsi(std::string_view text);

// True when the text is valid UTF-8 and Windows-1252 has every character of it.
bool FitsWindows1252(std::string_view utf8);
// True when the text is valid UTF-8 of characters below U+0080 and from U+00A0 to U+00FF only:
// plain ISO-8859-1, whose bytes are the same in Windows-1252.
bool FitsIso88591(std::string_view utf8);

}  // namespace larkspin
