#include "mailbox/section_output.h"

#include <fcntl.h>
#include <unistd.h>

namespace larkspin {

void CSectionOutput::OpenDiscard() {
  Close();
  kind_ = Kind::kDiscard;
}

bool CSectionOutput::OpenFile(const std::string& path) {
  Close();
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (descriptor < 0) return false;
  file_ = ::fdopen(descriptor, "wb");
  if (file_ == nullptr) {
    ::close(descriptor);
    return false;
  }
  kind_ = Kind::kFile;
  write_failed_ = false;
  return true;
}

void CSectionOutput::Write(std::string_view bytes) {
  if (kind_ != Kind::kFile || bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) write_failed_ = true;
}

bool CSectionOutput::Close() {
  bool complete = true;
  if (kind_ == Kind::kFile) complete = std::fclose(file_) == 0 && !write_failed_;
  file_ = nullptr;
  kind_ = Kind::kNone;
  return complete;
}

}  // namespace larkspin
