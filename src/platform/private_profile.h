#pragma once
// Private-profile INI files with the semantics of the Windows profile calls: a missing file,
// section or key yields the default; section and key names match ignoring ASCII case and the
// first match wins; a write creates the file, section or key as needed and replaces an existing
// value in place, leaving every other byte of the file as it was.
#include <string>
#include <string_view>

namespace larkspin {

// The value of key in section, blanks around it trimmed, or the default when missing.
std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view default_value);

// Writes key=value into section. Refuses (returns false, file untouched) a name or value
// holding a line break, which would corrupt the file's structure. False when the file cannot be
// written.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

// Removes key's line from section. True when the file holds no such key afterwards (also when
// it never did); false when it cannot be written.
bool RemoveProfileKey(const std::string& path, std::string_view section, std::string_view key);

// Removes section's "[name]" line and its lines up to its last key line; comments and blank
// lines after that key stay, since they usually introduce the next section. True when the file
// holds no such section afterwards; false when it cannot be written.
bool RemoveProfileSection(const std::string& path, std::string_view section);

}  // namespace larkspin
