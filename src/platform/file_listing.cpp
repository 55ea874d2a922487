#include "platform/file_listing.h"

#include <dirent.h>
#include <fnmatch.h>

#include "platform/file_system.h"

namespace larkspin {

namespace {
bool NameMatches(const std::string& name_pattern, const std::string& name) {
  if (name_pattern == "*.*") return true;
  return fnmatch(name_pattern.c_str(), name.c_str(), 0) == 0;
}
}  // namespace

int ListFiles(const std::string& pattern, std::vector<std::string>& names) {
  const size_t slash = pattern.rfind('/');
  const std::string folder = slash == std::string::npos ? "./" : pattern.substr(0, slash + 1);
  const std::string name_pattern = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  DIR* directory = opendir(folder.c_str());
  if (!directory) return -1;
  bool matched = false;
  while (const dirent* entry = readdir(directory)) {
    const std::string name = entry->d_name;
    if (!NameMatches(name_pattern, name)) continue;
    matched = true;
    if (FileExists(folder + name)) names.push_back(name);
  }
  closedir(directory);
  return matched ? static_cast<int>(names.size()) : -1;
}

}  // namespace larkspin
