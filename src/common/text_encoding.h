#pragma once
// How the program holds the texts it takes from mail, chosen by [System] Charsets: Classic keeps
// the bytes as received and decoded into Windows-1252; Modern decodes every header word and text
// into UTF-8 and holds valid UTF-8 only.
#include <string>
#include <string_view>

namespace larkspin {

enum class TextEncoding {
  kClassic,  // Windows-1252 bytes; shown as UTF-8 where they happen to be valid UTF-8
  kUtf8,     // valid UTF-8
};

// The text as UTF-8 for a window or a terminal: UTF-8 texts as they are, Classic ones as AsUtf8
// reads them.
std::string TextAsUtf8(std::string_view text, TextEncoding encoding);

// Typed text (a command-line argument, standard input) as the program holds it: Classic ones by
// TypedTextToAnsi, UTF-8 ones by AsUtf8.
std::string TypedText(std::string_view typed, TextEncoding encoding);

// The Charsets value of config.ini: "Modern" (ignoring case) is kUtf8, anything else kClassic.
TextEncoding TextEncodingOfSetting(std::string_view value);

}  // namespace larkspin
