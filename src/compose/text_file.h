#pragma once
// Whole text files for composing: the signature, and the texts reply and forward start from.
#include <string>

namespace larkspin {

// Two blanks and CR LF: what a missing or unreadable file reads as.
inline constexpr const char* kMissingTextPlaceholder = "  \r\n";

struct TextFileContents {
  std::string text;
  bool read_error = false;  // the file opened but could not be read; text is the placeholder
};

// The file's contents up to its first zero byte; the placeholder for an empty path, a file that
// cannot be opened, or a read error after opening (which the window then shows).
TextFileContents ReadTextFile(const std::string& path);

}  // namespace larkspin
