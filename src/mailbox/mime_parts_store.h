#pragma once
// What Modern mode keeps of a message read as a MIME tree (mailbox/mime_tree.h): the text of its
// plain text leaf, else of its HTML leaf turned into readable text, as UTF-8; and every other leaf
// as an attachment file of its own in the attach folder, a message/rfc822 leaf as received. A
// message without a text leaf stores an empty text.
#include <string>
#include <vector>

#include "mailbox/mime_tree.h"

namespace larkspin {

struct StoredMimeParts {
  // UTF-8 with CR LF line ends; bytes of an unknown charset that are not UTF-8 are read as
  // Windows-1252.
  std::string text;
  std::vector<std::string> attachments;  // the files as created, in the order of the message
  bool whole = true;                     // false when a leaf's file could not be stored
};

// The index of the leaf that is the message's text (its plain text, else its HTML), or -1.
int TextLeafIndex(const MimeMessage& message);
// That leaf's text as UTF-8 with CR LF line ends, HTML made readable; empty without a text leaf.
std::string MessageText(const MimeMessage& message);

// Writes the attachment files into attach_folder (which ends with "/"). A leaf without a name
// is named from its position and type (mailbox/part_name.h); a taken name is numbered
// (mailbox/attachment_file.h). Every failure and every problem of the tree goes to the log.
StoredMimeParts StoreMimeParts(const MimeMessage& message, const std::string& attach_folder);

}  // namespace larkspin
