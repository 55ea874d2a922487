#pragma once
// Whole text files for composing: the signature, and the texts reply and forward start from.
#include <string>

namespace larkspin {

// Two blanks and CR LF: what a missing or unreadable file reads as.
inline constexpr const char* kMissingTextPlaceholder = "  \r\n";

// The file's contents up to its first zero byte; the placeholder for an empty path or a file that
// cannot be opened. A read error after opening shows "A Read Error has occured." and also gives
// the placeholder.
std::string ReadTextFile(const std::string& path);

}  // namespace larkspin
