#include "file_view/attachment_line.h"

#include "mailbox/attachment_name.h"
#include "res/resources.h"

namespace larkspin {

namespace {
constexpr int kAttachmentsOpening = 152;  // "<<Attachments: "
constexpr int kAttachmentsClosing = 153;  // ">>"
}  // namespace

std::vector<std::string> ListedAttachments(std::string_view text) {
  const std::string opening = LoadResourceString(kAttachmentsOpening);
  const size_t begin = text.find(opening);
  if (begin == std::string_view::npos) return {};
  const size_t names_begin = begin + opening.size();
  const size_t end = text.find(LoadResourceString(kAttachmentsClosing), names_begin);
  if (end == std::string_view::npos) return {};
  std::vector<std::string> names;
  std::string_view rest = text.substr(names_begin, end - names_begin);
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    const std::string_view piece = rest.substr(0, comma);
    if (!piece.empty()) names.emplace_back(piece);
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return names;
}

std::string AttachmentPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (!IsPlainFileName(name)) return {};
  return folder + "/attach/" + name;
}

}  // namespace larkspin
