#include "file_view/attachment_line.h"

#include "mailbox/attachment_name.h"

namespace larkspin {

std::string AttachmentPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (!IsPlainFileName(name)) return {};
  return folder + "/attach/" + name;
}

}  // namespace larkspin
