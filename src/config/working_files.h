#pragma once
// The program's files, relative to the working directory.

namespace larkspin {

inline constexpr const char* kConfigFile = "config.ini";
inline constexpr const char* kLanguageFile = "language.ini";
inline constexpr const char* kLogFile = "larkspin.log";
inline constexpr const char* kDisclaimerFile = "disclaimer.txt";

}  // namespace larkspin
