#include "mailbox/mime_body_choice.h"

namespace larkspin {

namespace {
// The root part of a multipart/related: the part named by "start", else the first.
int RelatedRoot(const std::vector<MimeOutlineNode>& outline, const MimeOutlineNode& related) {
  if (!related.start.empty())
    for (const int part : related.parts)
      if (outline[part].content_id == related.start) return part;
  return related.parts.empty() ? -1 : related.parts.front();
}

// The depth of the search is the nesting of the tree, which its reader limits.
int FindText(const std::vector<MimeOutlineNode>& outline, int index, std::string_view subtype) {
  const MimeOutlineNode& node = outline[index];
  if (node.is_attachment) return -1;
  const std::string_view type = node.content_type;
  const size_t slash = type.find('/');
  if (type.substr(0, slash) == "text") return type.substr(slash + 1) == subtype ? node.leaf : -1;
  if (node.leaf >= 0 || type.substr(0, slash) != "multipart") return -1;
  if (type.substr(slash + 1) == "related") {
    const int root = RelatedRoot(outline, node);
    return root < 0 ? -1 : FindText(outline, root, subtype);
  }
  for (const int part : node.parts)
    if (const int found = FindText(outline, part, subtype); found >= 0) return found;
  return -1;
}
}  // namespace

int ChooseTextLeaf(const std::vector<MimeOutlineNode>& outline, std::string_view subtype) {
  return outline.empty() ? -1 : FindText(outline, 0, subtype);
}

}  // namespace larkspin
