#include "mailbox/attachment_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "mailbox/attachment_name.h"

namespace larkspin {

namespace {
// How many numbered names are tried before giving up.
constexpr int kMaxNumberedNames = 100000;

bool WriteAllTo(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}
}  // namespace

std::optional<CreatedAttachmentFile> CreateAttachmentFile(const std::string& folder, std::string_view wanted_name) {
  const std::string safe_name = SafeAttachmentName(wanted_name);
  for (int n = 1; n <= kMaxNumberedNames; ++n) {
    std::string name = NumberedAttachmentName(safe_name, n);
    const int descriptor =
        ::open((folder + name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor >= 0) return CreatedAttachmentFile{descriptor, std::move(name)};
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::string> StoreAttachmentFile(const std::string& folder, std::string_view wanted_name,
                                               const ContentWriter& write_content) {
  std::optional<CreatedAttachmentFile> created = CreateAttachmentFile(folder, wanted_name);
  if (!created) return std::nullopt;
  const int descriptor = created->descriptor;
  const bool written = write_content([descriptor](std::string_view piece) { return WriteAllTo(descriptor, piece); });
  if (::close(created->descriptor) != 0 || !written) {
    std::remove((folder + created->name).c_str());
    return std::nullopt;
  }
  return std::move(created->name);
}

}  // namespace larkspin
