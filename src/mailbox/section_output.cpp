#include "mailbox/section_output.h"

#include <unistd.h>

#include "mailbox/attachment_file.h"

namespace larkspin {

void CSectionOutput::OpenDiscard() {
  Close();
  kind_ = Kind::kDiscard;
}

std::optional<std::string> CSectionOutput::OpenNewFile(const std::string& folder, std::string_view wanted_name) {
  Close();
  std::optional<CreatedAttachmentFile> created = CreateAttachmentFile(folder, wanted_name);
  if (!created) return std::nullopt;
  file_ = ::fdopen(created->descriptor, "wb");
  if (file_ == nullptr) {
    ::close(created->descriptor);
    std::remove((folder + created->name).c_str());
    return std::nullopt;
  }
  kind_ = Kind::kFile;
  write_failed_ = false;
  return std::move(created->name);
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
