#pragma once
// Byte-wise scrambling of the logins and passwords that are stored in files.
#include <string>

namespace larkspin {

// Replaces byte b at position i by (b - i + 5) mod 256; returns the length.
size_t ScrambleText(std::string& text);
// A scrambled copy of text, as it is stored.
std::string Scrambled(std::string text);
// Undoes ScrambleText: byte b at position i becomes (b + i - 5) mod 256; returns the length.
size_t UnscrambleText(std::string& text);

}  // namespace larkspin
