#include "compose/attachment_paths.h"

#include "platform/file_system.h"

namespace larkspin {

std::vector<std::string> AttachmentPaths(const std::string& attachments) {
  std::vector<std::string> paths;
  if (attachments.empty()) return paths;
  for (size_t start = 0;;) {
    const size_t comma = attachments.find(',', start);
    paths.push_back(attachments.substr(start, comma == std::string::npos ? comma : comma - start));
    if (comma == std::string::npos) return paths;
    start = comma + 1;
  }
}

std::vector<std::string> MissingAttachments(const std::string& attachments) {
  std::vector<std::string> missing;
  for (const std::string& path : AttachmentPaths(attachments)) {
    if (!FileExists(path)) missing.push_back(path.empty() ? "(an empty path)" : path);
  }
  return missing;
}

}  // namespace larkspin
