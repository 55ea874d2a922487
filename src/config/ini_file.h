#pragma once
// The INI reading service used for config.ini and language.ini. Holds only the file's path;
// a missing file, section or key yields the default. Values are cut to 127 characters, except
// those of the OAuth keys that hold tokens, endpoints, scopes and client ids.
#include <string>

namespace larkspin {

class CIniFile {
 public:
  CIniFile() = default;
  explicit CIniFile(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }

  // The value, or "n/a" when missing.
  std::string ReadText(const std::string& section, const std::string& key) const;
  // The value, or the default when missing.
  std::string ReadString(const std::string& section, const std::string& key, const std::string& default_value) const;
  // The value (or the default written with "%d") read as a decimal integer like atoi.
  int ReadInt(const std::string& section, const std::string& key, int default_value) const;

 private:
  std::string path_;
};

}  // namespace larkspin
