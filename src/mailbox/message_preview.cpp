#include "mailbox/message_preview.h"

#include "mailbox/mime_parts_store.h"
#include "mailbox/mime_tree.h"
#include "mailbox/part_name.h"

namespace larkspin {

MessagePreview PreviewOfTop(std::string_view top) {
  const MimeMessage message = ReadMimeTree(top);
  MessagePreview preview;
  preview.text = MessageText(message);
  const int text_leaf = TextLeafIndex(message);
  for (int i = 0; i < static_cast<int>(message.leaves.size()); ++i) {
    if (i == text_leaf) continue;
    const MimeLeaf& leaf = message.leaves[static_cast<size_t>(i)];
    preview.attachments.push_back(
        {leaf.file_name.empty() ? PartFileName(leaf.position, leaf.content_type) : leaf.file_name, leaf.content_type});
  }
  return preview;
}

}  // namespace larkspin
