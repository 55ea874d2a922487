#pragma once
// How the section decoder reads one line: its kind and its header words.
//
// Token characters are letters, digits, "-", ".", "/", "\", "_" and "~"; every other byte
// (blanks, tabs, ":", ";", "=", quotes, bytes from 128 up) separates words.
#include <string>
#include <string_view>
#include <vector>

namespace larkspin {

enum class SectionLineKind {
  kEmpty,   // starts with LF
  kData,    // only base64 characters and "=", maybe followed by blanks and tabs starting with a blank
  kHeader,  // anything else
};

SectionLineKind ClassifySectionLine(std::string_view line);

bool IsTokenCharacter(char c);

// The words of a header line: the runs of token characters, in order.
std::vector<std::string_view> HeaderWords(std::string_view line);

// A word matches a keyword when the two are equal ignoring ASCII case.
bool MatchesKeyword(std::string_view word, std::string_view keyword);

// The value of the last "name" parameter of the line (the word after a word "name"), or empty.
std::string NameParameter(const std::vector<std::string_view>& words);

}  // namespace larkspin
