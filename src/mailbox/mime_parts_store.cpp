#include "mailbox/mime_parts_store.h"

#include <optional>

#include "common/line_ends.h"
#include "common/windows_1252.h"
#include "config/log.h"
#include "mailbox/attachment_file.h"
#include "mailbox/html_text.h"
#include "mailbox/part_name.h"
#include "mailbox/transfer_decoding.h"
#include "mime/charset_conversion.h"

namespace larkspin {

namespace {
// The leaf's bytes in UTF-8 by its charset; without a charset iconv knows (or bytes that do not
// fit it), as UTF-8 when they are, else read as Windows-1252.
std::string Utf8Of(const MimeLeaf& leaf) {
  const std::string bytes = LeafBytes(leaf);
  if (std::optional<std::string> utf8 = ConvertToUtf8(bytes, leaf.charset)) return std::move(*utf8);
  return AsUtf8(bytes);
}

void StoreLeaf(const MimeLeaf& leaf, const std::string& attach_folder, StoredMimeParts& stored) {
  const std::string wanted = leaf.file_name.empty() ? PartFileName(leaf.position, leaf.content_type) : leaf.file_name;
  // The decoded bytes go to the file piece by piece: a large attachment is never held twice.
  const auto write_content = [&leaf](const auto& sink) {
    return DecodeTransferEncodingInPieces(leaf.body, leaf.transfer_encoding, sink);
  };
  if (std::optional<std::string> name = StoreAttachmentFile(attach_folder, wanted, write_content)) {
    LogEvent("Creating file '" + *name + "'");
    stored.attachments.push_back(std::move(*name));
    return;
  }
  LogEvent("Couldn't store part " + std::to_string(leaf.position) + " '" + wanted + "' in " + attach_folder);
  stored.whole = false;
}
}  // namespace

int TextLeafIndex(const MimeMessage& message) {
  return message.plain_text >= 0 ? message.plain_text : message.html_text;
}

// The lines end with CR LF, also where the text had lone CRs or LFs.
std::string MessageText(const MimeMessage& message) {
  if (message.plain_text >= 0) return NormalizeLineEnds(Utf8Of(message.leaves[static_cast<size_t>(message.plain_text)]));
  if (message.html_text >= 0) return HtmlToText(Utf8Of(message.leaves[static_cast<size_t>(message.html_text)]));
  return "";
}

StoredMimeParts StoreMimeParts(const MimeMessage& message, const std::string& attach_folder) {
  for (const std::string& problem : message.problems) LogEvent(problem);
  StoredMimeParts stored;
  const int text_leaf = TextLeafIndex(message);
  for (int i = 0; i < static_cast<int>(message.leaves.size()); ++i)
    if (i != text_leaf) StoreLeaf(message.leaves[static_cast<size_t>(i)], attach_folder, stored);
  stored.text = MessageText(message);
  return stored;
}

}  // namespace larkspin
