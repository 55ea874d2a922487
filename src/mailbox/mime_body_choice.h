#pragma once
// Which leaf of a MIME tree is a message's text of one kind, chosen as Python's
// EmailMessage.get_body((subtype,)) chooses it: depth first from the root, parts whose
// Content-Disposition is "attachment" skipped with everything inside them, every part of a
// multipart followed except in multipart/related, where only the root part is (the part whose
// Content-ID equals the "start" parameter, else the first part), and the first text/<subtype>
// found wins.
#include <string>
#include <string_view>
#include <vector>

namespace larkspin {

// One part of the tree. A leaf has an index into the message's leaves; a multipart that was split
// has its parts.
struct MimeOutlineNode {
  std::string content_type;  // lower-case "type/subtype"
  bool is_attachment = false;
  std::string content_id;    // the Content-ID value, white space around it removed
  std::string start;         // the "start" parameter of a multipart/related
  int leaf = -1;
  std::vector<int> parts;    // indices into the outline
};

// The leaf index of the chosen text/<subtype> part of the tree whose root is outline[0], or -1
// when there is none (or the outline is empty).
int ChooseTextLeaf(const std::vector<MimeOutlineNode>& outline, std::string_view subtype);

}  // namespace larkspin
