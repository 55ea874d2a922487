#pragma once
// Notices that a file was changed, replaced, made or removed since it was last looked at, by its
// modification time, size and identity (an editor that saves by renaming gives a new one). One
// stat per look, so it can be asked every few seconds.
#include <string>
#include <sys/types.h>
#include <time.h>

namespace larkspin {

class CFileWatch {
 public:
  explicit CFileWatch(std::string path) : path_(std::move(path)) { Rebase(); }

  // True once for each change since the last look (or Rebase).
  bool Changed();
  // Takes the file as it stands now as seen.
  void Rebase() { seen_ = Current(); }

 private:
  struct Stamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    bool operator==(const Stamp& other) const;
  };
  Stamp Current() const;

  std::string path_;
  Stamp seen_;
};

}  // namespace larkspin
