#pragma once
// RFC 2047 "Q" encoded words for header texts (subject, display names).
#include <string>
#include <string_view>

namespace larkspin {

// The chunk unchanged when no byte has its high bit set; otherwise one encoded word
// "=?charset?q?...?=" in which a blank is "_", other bytes below 128 except "=", "?" and "_" are
// copied, and those three and the bytes from 128 up are "=" and two upper-case hex digits.
std::string EncodeHeaderWord(std::string_view chunk, std::string_view charset);

// The text (converted to UTF-8 first when the charset is "UTF-8", any case) cut into chunks of
// 70 bytes, each passed through EncodeHeaderWord, the results joined with nothing between them.
std::string EncodeHeaderText(std::string_view text, std::string_view charset);

// True when charset names UTF-8 (compared ignoring case).
bool IsUtf8Charset(std::string_view charset);

}  // namespace larkspin
