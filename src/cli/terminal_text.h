#pragma once
// Texts from messages and files on their way to a terminal or a script: valid UTF-8 is kept as
// it is, anything else is read as Windows-1252, and control characters (tabs and line breaks
// included) become blanks, so one message always stays one tab-separated line and no escape
// sequence reaches the terminal.
#include <string>
#include <string_view>

namespace larkspin {

std::string TerminalText(std::string_view text);

}  // namespace larkspin
