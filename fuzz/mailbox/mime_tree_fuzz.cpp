// Fuzz target: the MIME tree reader and the files Modern mode stores from it. Leaves are numbered
// 1..n in order, their number stays within the limits, the chosen texts are leaves of their type
// that are no attachments, every content type is one lower-case "type/subtype", and the decoded
// bytes together never exceed the input. Stored, every leaf but the text is a file of its own
// directly in the attach folder, holding that leaf's bytes: nothing lands outside the folder and
// no two parts share a file.
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz_work_folder.h"
#include "mailbox/mime_parts_store.h"
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

namespace fs = std::filesystem;

using larkspin::fuzz::WorkFolder;

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void CheckStoredParts(const larkspin::MimeMessage& message) {
  const fs::path& folder = WorkFolder();
  fs::remove_all(folder / "attach");
  fs::create_directories(folder / "attach");
  const larkspin::StoredMimeParts stored = larkspin::StoreMimeParts(message, (folder / "attach/").string());
  Check(stored.whole);
  const int text = message.plain_text >= 0 ? message.plain_text : message.html_text;
  size_t next = 0;
  for (size_t i = 0; i < message.leaves.size(); ++i) {
    if (static_cast<int>(i) == text) continue;
    Check(next < stored.attachments.size());
    Check(FileBytes(folder / "attach" / stored.attachments[next++]) == larkspin::LeafBytes(message.leaves[i]));
  }
  Check(next == stored.attachments.size());
  size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    Check(entry.is_regular_file() || entry.path() == folder / "attach");
    Check(entry.path().parent_path() == folder / "attach" || entry.path() == folder / "attach");
    files += entry.is_regular_file();
  }
  Check(files == stored.attachments.size());
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
    total += larkspin::LeafBytes(message.leaves[i]).size();
  }
  Check(total <= size);
  Check(IsChosenText(message, message.plain_text, "text/plain"));
  Check(IsChosenText(message, message.html_text, "text/html"));
  CheckStoredParts(message);
  return 0;
}
