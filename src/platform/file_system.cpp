#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string_view>
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

namespace {
constexpr mode_t kPrivateFolderMode = 0700;
constexpr mode_t kPrivateFileMode = 0600;

// The open(2) flags of an fopen writing mode; 0 for a mode this does not know.
int WritingFlags(std::string_view mode) {
  if (!mode.empty() && mode.back() == 'b') mode.remove_suffix(1);
  if (mode == "w") return O_WRONLY | O_CREAT | O_TRUNC;
  if (mode == "a") return O_WRONLY | O_CREAT | O_APPEND;
  if (mode == "a+") return O_RDWR | O_CREAT | O_APPEND;
  return 0;
}

// The permission bits of an existing file, or the private mode when there is none.
mode_t ModeToKeep(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : kPrivateFileMode;
}
}  // namespace

bool MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), kPrivateFolderMode) == 0; }

bool MakeFolders(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
    MakeFolder(path.substr(0, slash));
  MakeFolder(path);
  return FolderExists(path);
}

std::FILE* OpenPrivateFile(const std::string& path, const char* mode) {
  const int flags = WritingFlags(mode);
  if (flags == 0) return nullptr;
  const int descriptor = ::open(path.c_str(), flags | O_CLOEXEC, kPrivateFileMode);
  if (descriptor < 0) return nullptr;
  std::FILE* stream = ::fdopen(descriptor, mode);
  if (stream == nullptr) ::close(descriptor);
  return stream;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// The new file's bytes reach the disk before the rename makes it the file, so even a power
// failure cannot leave an empty file in place of the old one.
bool ReplaceFile(const std::string& path, const std::string& content) {
  const std::string temporary = path + ".new";
  std::FILE* out = OpenPrivateFile(temporary, "wb");
  if (out == nullptr) return false;
  bool written = std::fwrite(content.data(), 1, content.size(), out) == content.size();
  written = ::fchmod(::fileno(out), ModeToKeep(path)) == 0 && written;
  written = std::fflush(out) == 0 && ::fsync(::fileno(out)) == 0 && written;
  written = std::fclose(out) == 0 && written;
  if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  std::remove(temporary.c_str());
  return false;
}

bool AppendLineToFile(const std::string& path, const std::string& line) {
  std::FILE* file = OpenPrivateFile(path, "a+b");
  if (file == nullptr) return false;
  const bool ends_open = std::fseek(file, -1, SEEK_END) == 0 && std::fgetc(file) != '\n';
  const std::string text = (ends_open ? "\n" : "") + line + '\n';
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0 &&
                       ::fsync(::fileno(file)) == 0;
  return std::fclose(file) == 0 && written;
}

}  // namespace larkspin
