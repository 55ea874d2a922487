#pragma once
// What a preview shows of a message from its first lines alone (TOP n k): the text as a stored
// message's would be (mime_parts_store.h: transfer encoding and charset undone, HTML made
// readable, UTF-8), and the name and type of every other part that begins within those lines.
// The lines may end inside any part: what was cut off is simply not there.
#include <string>
#include <string_view>
#include <vector>

namespace larkspin {

struct PreviewAttachment {
  std::string name;  // its file name, else one made from its position and type (part_name.h)
  std::string type;  // lower-case "type/subtype"
};

struct MessagePreview {
  std::string text;  // CR LF line ends
  std::vector<PreviewAttachment> attachments;
};

// top is the reply to TOP: the header, an empty line, the first lines of the body.
MessagePreview PreviewOfTop(std::string_view top);

}  // namespace larkspin
