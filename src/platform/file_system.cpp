#include "platform/file_system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace larkspin {

std::string WorkingDirectory() {
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (buffer.size() > (1u << 20)) return "./";
    buffer.resize(buffer.size() * 2);
  }
  std::string path(buffer.data());
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

bool MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0; }

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace larkspin
