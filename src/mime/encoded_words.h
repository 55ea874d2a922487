#pragma once
// RFC 2047 encoded words in full, for the Modern charsets: a received From or Subject value
// decoded into UTF-8.
#include <string>
#include <string_view>

namespace larkspin {

// The value as valid UTF-8 with every encoded word "=?charset?encoding?text?=" decoded:
// - the encoding is "B" or "Q" in either case, the charset any name iconv knows in any spelling,
//   an RFC 2231 language after "*" ignored; in Q, "_" is a blank;
// - white space between two adjacent encoded words is removed, and the words of one charset that
//   follow each other are joined before they are converted, so a character may span two words;
// - plain text around the words is kept as it is (read as Windows-1252 when it is not UTF-8);
// - a malformed word (bad base64, an unknown charset, bytes not valid in their charset) is left
//   as it is written, together with the words of its charset it was joined with.
std::string DecodeEncodedWords(std::string_view value);

}  // namespace larkspin
