#pragma once
// Multipart boundaries: a fresh UUID for every part.
#include <string>

namespace larkspin {

// A new random UUID in its canonical text form (36 characters, lower-case, with hyphens).
std::string NewMimeBoundary();

}  // namespace larkspin
