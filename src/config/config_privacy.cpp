#include "config/config_privacy.h"

#include <sys/stat.h>

#include <sstream>

#include "common/string_tools.h"
#include "platform/file_system.h"

namespace larkspin {

namespace {
constexpr std::string_view kPasswordSuffix = "password";

bool ReadableByOthers(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && (info.st_mode & (S_IRGRP | S_IROTH)) != 0;
}

// A "key=value" line, not a comment, whose key ends in "Password" (in any case) and whose value is not empty.
bool IsStoredPassword(std::string_view line) {
  if (Trimmed(line).starts_with(';')) return false;  // a comment
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  const std::string_view key = Trimmed(line.substr(0, equals));
  return key.size() >= kPasswordSuffix.size() &&
         EqualsIgnoringCase(key.substr(key.size() - kPasswordSuffix.size()), kPasswordSuffix) &&
         !Trimmed(line.substr(equals + 1), " \t\r").empty();
}

bool HoldsPassword(const std::string& content) {
  std::istringstream lines(content);
  for (std::string line; std::getline(lines, line);)
    if (IsStoredPassword(line)) return true;
  return false;
}
}  // namespace

std::string ReadablePasswordWarning(const std::string& path) {
  if (!ReadableByOthers(path)) return {};
  const std::optional<std::string> content = ReadWholeFile(path);
  if (!content || !HoldsPassword(*content)) return {};
  return path + " holds a password and other users of this computer can read it (chmod 600 " + path +
         " makes it private).";
}

}  // namespace larkspin
