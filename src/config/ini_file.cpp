#include "config/ini_file.h"

#include "common/decimal.h"
#include "platform/private_profile.h"

namespace larkspin {

namespace {
constexpr size_t kMaxValueLength = 127;
}

std::string CIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& default_value) const {
  std::string value = ReadProfileString(path_, section, key, default_value);
  if (value.size() > kMaxValueLength) value.resize(kMaxValueLength);
  return value;
}

std::string CIniFile::ReadText(const std::string& section, const std::string& key) const {
  return ReadString(section, key, "n/a");
}

int CIniFile::ReadInt(const std::string& section, const std::string& key, int default_value) const {
  return ParseDecimalInt(ReadString(section, key, std::to_string(default_value)));
}

}  // namespace larkspin
