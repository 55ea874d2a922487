#pragma once
// The application profile store: window geometry, column widths, the selected account and a few
// remembered values, by section and key. Kept apart from config.ini in
// $XDG_CONFIG_HOME/larkspin/profile.ini (default ~/.config/larkspin/profile.ini).
#include <string>
#include <string_view>

namespace larkspin {

class CProfileStore {
 public:
  // The store at the platform's place for it.
  CProfileStore();
  // A store in an explicit file, for tests and tools.
  explicit CProfileStore(std::string path);

  int GetInt(std::string_view section, std::string_view key, int default_value) const;
  std::string GetString(std::string_view section, std::string_view key, std::string_view default_value) const;
  bool WriteInt(std::string_view section, std::string_view key, int value) const;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) const;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The file the default-constructed store uses.
std::string DefaultProfilePath();

}  // namespace larkspin
