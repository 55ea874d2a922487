#pragma once
// The replaceable texts of language.ini, looked up by section and key at the moment a text is
// set. Keys with a built-in default use Text(); keys marked without one use TextOrNa(), which
// shows "n/a" when the key is missing. Texts that are formatted with the program's arguments go
// through Template(), which refuses a replacement whose placeholders differ from the default's.
#include <cstddef>
#include <string>
#include <vector>

#include "config/ini_file.h"

namespace larkspin {

class CLanguageTable {
 public:
  CLanguageTable();  // language.ini in the working directory
  explicit CLanguageTable(std::string path) : file_(std::move(path)) {}

  std::string Text(const std::string& section, const std::string& key, const std::string& default_text) const;
  std::string TextOrNa(const std::string& section, const std::string& key) const;
  // A format text: the replacement when its placeholders match the default's in number, order
  // and kind, else the default, so formatting never reads arguments the program does not pass.
  std::string Template(const std::string& section, const std::string& key, const std::string& default_text) const;

 private:
  CIniFile file_;
};

// The printf conversions of a format text, one kind letter each ("%d" and "%i" are 'i', "%.2lf"
// is 'f', "%s" is 's'), integer kinds led by their length modifier ("%ld" is "li"); "%%" is
// none. Width or precision taken from an argument ("*") counts as an 'i' of its own.
std::string PlaceholderKinds(const std::string& format);

// One menu text replaced at start: a top-level item by position, or a command item by id.
struct MenuTextEntry {
  const char* key;
  const char* default_text;
  int command_id;             // 0 for a top-level item
  int top_position;           // -1 for a command item
};

// The "Menu" section's entries in the order they are applied. "MailBox" is read but applied to
// no item (it would address a sixth top-level item, which does not exist).
const std::vector<MenuTextEntry>& MenuTextEntries();

}  // namespace larkspin
