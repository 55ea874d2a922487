#pragma once
// Which language.ini the windows read: the working folder's own when it has one, else the
// English texts installed with the program (<prefix>/share/larkspin/language.ini beside
// <prefix>/bin, or share/larkspin/ inside a build tree), so no caption is left without a text.
#include <string>
#include <vector>

namespace larkspin {

// The file to read now; kLanguageFile when neither exists (every text then shows its default).
std::string LanguageFilePath();

// The places looked at, in order, for a program in program_folder.
std::vector<std::string> LanguageFileCandidates(const std::string& program_folder);

// The first candidate that exists; kLanguageFile when none does.
std::string FirstExistingFile(const std::vector<std::string>& candidates);

}  // namespace larkspin
