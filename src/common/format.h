#pragma once
// printf-style formatting into a std::string, checked by the compiler.
#include <cstdarg>
#include <string>

namespace larkspin {

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatTextV(const char* format, va_list args);

}  // namespace larkspin
