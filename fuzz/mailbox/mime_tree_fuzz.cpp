// Fuzz target: the MIME tree reader. Leaves are numbered 1..n in order, their number stays within
// the limits, the chosen texts are leaves of their type that are no attachments, every content
// type is one lower-case "type/subtype", and the decoded bytes together never exceed the input.
#include <cctype>
#include <cstdlib>
#include <string>

#include "mailbox/mime_tree.h"

namespace {
void Check(bool condition) {
  if (!condition) std::abort();
}

bool IsChosenText(const larkspin::MimeMessage& message, int index, const char* type) {
  if (index == -1) return true;
  if (index < 0 || static_cast<size_t>(index) >= message.leaves.size()) return false;
  return message.leaves[index].content_type == type && !message.leaves[index].is_attachment;
}

bool IsMediaType(const std::string& type) {
  size_t slashes = 0;
  for (const char c : type) {
    if (c == '/') ++slashes;
    if (std::isupper(static_cast<unsigned char>(c))) return false;
  }
  return slashes == 1;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const larkspin::MimeMessage message =
      larkspin::ReadMimeTree(std::string_view(reinterpret_cast<const char*>(data), size));
  Check(!message.leaves.empty());
  Check(message.leaves.size() <= larkspin::kMaxMimeLeaves + larkspin::kMaxMimeNesting);
  size_t total = 0;
  for (size_t i = 0; i < message.leaves.size(); ++i) {
    Check(message.leaves[i].position == static_cast<int>(i) + 1);
    Check(IsMediaType(message.leaves[i].content_type));
    total += message.leaves[i].bytes.size();
  }
  Check(total <= size);
  Check(IsChosenText(message, message.plain_text, "text/plain"));
  Check(IsChosenText(message, message.html_text, "text/html"));
  return 0;
}
