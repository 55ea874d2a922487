#pragma once
// RFC 2047 "Q" encoded words both ways: decoded in a received From or Subject value, encoded
// for the header texts of a sent mail (subject, display names).
#include <string>
#include <string_view>

#include "common/text_encoding.h"

namespace larkspin {

// When the value holds an ISO-8859-1 "Q" encoded word whose prefix is spelled all lower case
// ("=?iso-8859-1?q?") or all upper case ("=?ISO-8859-1?Q?"), the whole value becomes the word's
// inner text with its quoted-printable escapes decoded; text around it and any further words are
// dropped. Any other value (other spellings, other character sets, the "B" encoding) is left as
// it is.
void DecodeHeaderWord(std::string& value);

// A received From or Subject value decoded as the charsets ask: by DecodeHeaderWord for
// Classic, by DecodeEncodedWords (valid UTF-8) for UTF-8.
std::string DecodedHeaderValue(std::string value, TextEncoding encoding);

// The chunk unchanged when no byte has its high bit set; otherwise one encoded word
// "=?charset?q?...?=" in which a blank is "_", other bytes below 128 except "=", "?" and "_" are
// copied, and those three and the bytes from 128 up are "=" and two upper-case hex digits.
std::string EncodeHeaderWord(std::string_view chunk, std::string_view charset);

// The text (converted to UTF-8 first when the charset is "UTF-8", any case, and the text is
// Classic) unchanged when it has no byte from 128 up and no run of more than 77 characters
// without a blank; otherwise the whole text as "Q" encoded words (as EncodeHeaderWord writes
// them) of at most 75 characters each, separated by one blank: a place to fold the line, which
// decoders drop between encoded words. A word holds whole characters (of UTF-8: never part of one).
std::string EncodeHeaderText(std::string_view text, std::string_view charset,
                             TextEncoding encoding = TextEncoding::kClassic);

// True when charset names UTF-8 (compared ignoring case).
bool IsUtf8Charset(std::string_view charset);

}  // namespace larkspin
