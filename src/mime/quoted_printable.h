#pragma once
// Quoted-printable both ways.
//
// Decoding works by a fixed table: German umlauts and sharp s, some accented vowels, a few
// symbols and punctuation, the two line-break forms and the "&nbsp;" entity, each replaced by one
// Windows-1252 byte. Escapes not in the table stay as they are; hexadecimal digits must be upper
// case.
//
// Encoding of text bodies (RFC 2045, 6.7) runs in two passes: escaping, then soft line breaks
// that keep every line at 78 bytes or fewer.
#include <string>
#include <string_view>

namespace larkspin {

// Runs one replace-all pass per table row, in table order, over the whole text.
void DecodeQuotedPrintable(std::string& text);

// Decoding by RFC 2045 for the Modern charsets: "=" and two hexadecimal digits (either case)
// become their byte; "=" ending a line (blanks and tabs may follow it) is a soft line break and
// joins the line with the next, also at the very end of the text; any other "=" stays as it is.
std::string DecodeQPText(std::string_view text);

// The text of an RFC 2047 "Q" encoded word: the same escapes, and "_" stands for a blank.
std::string DecodeQWordText(std::string_view text);

// Appends "=" and the two upper-case hex digits of b: the escape of both encodings here.
void AppendQPEscape(unsigned char b, std::string& out);

// Escaping pass: bytes 33-60, 62-126, TAB, LF, CR and blank are copied, every other byte becomes
// "=" and two upper-case hex digits. A blank or tab right before a line end or at the end of the
// text is escaped too, since receivers strip trailing white space from a line.
std::string EscapeQP(std::string_view bytes);

// Soft line break pass over escaped text: once a line reaches 78 bytes it is cut after its last
// white space or complete escape within them (at 77 bytes when there is none, moved before an
// escape that would be split) and continued after "=" CR LF. Hard line ends pass unchanged.
std::string BreakQPLines(std::string_view escaped);

// Both passes.
std::string EncodeQP(std::string_view bytes);

}  // namespace larkspin
