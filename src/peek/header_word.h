#pragma once
// Decoding of an encoded word in a From or Subject header value.
#include <string>

namespace larkspin {

// When the value holds an ISO-8859-1 "Q" encoded word whose prefix is spelled all lower case
// ("=?iso-8859-1?q?") or all upper case ("=?ISO-8859-1?Q?"), the whole value becomes the word's
// inner text with its quoted-printable escapes decoded; text around it and any further words are
// dropped. Any other value (other spellings, other character sets, the "B" encoding) is left as
// it is.
void DecodeHeaderWord(std::string& value);

}  // namespace larkspin
