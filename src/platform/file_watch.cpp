#include "platform/file_watch.h"

#include <sys/stat.h>

namespace larkspin {

bool CFileWatch::Stamp::operator==(const Stamp& other) const {
  return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
         modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

CFileWatch::Stamp CFileWatch::Current() const {
  struct stat info {};
  if (::stat(path_.c_str(), &info) != 0) return {};
  return {true, info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

bool CFileWatch::Changed() {
  const Stamp now = Current();
  if (now == seen_) return false;
  seen_ = now;
  return true;
}

}  // namespace larkspin
