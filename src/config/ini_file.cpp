#include "config/ini_file.h"

#include <algorithm>
#include <iterator>

#include "common/decimal.h"
#include "common/string_tools.h"
#include "platform/private_profile.h"

namespace larkspin {

namespace {
constexpr size_t kMaxValueLength = 127;

// The OAuth keys whose values (tokens, endpoint URLs, scope lists) outgrow the cut.
constexpr const char* kUncutKeys[] = {"OAuthRefreshToken", "OAuthAuthorizeURL", "OAuthTokenURL", "OAuthDeviceURL",
                                      "OAuthScopes",       "OAuthClientId",     "OAuthClientSecret"};

bool IsUncutKey(const std::string& key) {
  return std::any_of(std::begin(kUncutKeys), std::end(kUncutKeys),
                     [&](const char* uncut) { return EqualsIgnoringCase(key, uncut); });
}
}  // namespace

std::string CIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& default_value) const {
  std::string value = ReadProfileString(path_, section, key, default_value);
  if (value.size() > kMaxValueLength && !IsUncutKey(key)) value.resize(kMaxValueLength);
  return value;
}

std::string CIniFile::ReadText(const std::string& section, const std::string& key) const {
  return ReadString(section, key, "n/a");
}

int CIniFile::ReadInt(const std::string& section, const std::string& key, int default_value) const {
  return ParseDecimalInt(ReadString(section, key, std::to_string(default_value)));
}

}  // namespace larkspin
