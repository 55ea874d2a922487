#include "platform/profile_store.h"

#include <cstdlib>
#include <filesystem>

#include "common/decimal.h"
#include "platform/file_system.h"
#include "platform/private_profile.h"

namespace larkspin {

std::string DefaultProfilePath() {
  const char* config_home = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config_home && *config_home) {
    base = config_home;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && *home ? home : ".") + "/.config";
  }
  return base + "/larkspin/profile.ini";
}

CProfileStore::CProfileStore() : path_(DefaultProfilePath()) {}

CProfileStore::CProfileStore(std::string path) : path_(std::move(path)) {}

int CProfileStore::GetInt(std::string_view section, std::string_view key, int default_value) const {
  const std::string text = ReadProfileString(path_, section, key, "");
  return text.empty() ? default_value : ParseDecimalInt(text);
}

std::string CProfileStore::GetString(std::string_view section, std::string_view key,
                                     std::string_view default_value) const {
  return ReadProfileString(path_, section, key, default_value);
}

bool CProfileStore::WriteInt(std::string_view section, std::string_view key, int value) const {
  return WriteString(section, key, std::to_string(value));
}

bool CProfileStore::WriteString(std::string_view section, std::string_view key, std::string_view value) const {
  MakeFolders(std::filesystem::path(path_).parent_path().string());
  return WriteProfileString(path_, section, key, value);
}

}  // namespace larkspin
