// Fuzz target: the base64 section decoder over any body. Every file it creates must lie directly
// in the attach folder under a name it reported, and the result must count the names.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_work_folder.h"
#include "mailbox/section_decoder.h"

namespace {
namespace fs = std::filesystem;

using larkspin::fuzz::WorkFolder;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fs::path& folder = WorkFolder();
  fs::remove_all(folder / "box");
  fs::create_directories(folder / "box" / "attach");
  const std::string input = (folder / "box" / "body.tmp").string();
  if (std::FILE* file = std::fopen(input.c_str(), "wb")) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  std::vector<std::string> names;
  const int result = larkspin::DecodeBase64Sections(input, (folder / "box" / "attach/").string(), names).count;
  if (result != static_cast<int>(names.size())) std::abort();
  for (const std::string& name : names) {
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) std::abort();
  }
  // Besides the input, only files directly in the attach folder; nothing in the working folder.
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const fs::path relative = fs::relative(entry.path(), folder);
    if (relative == "box" || relative == "box/attach" || relative == "box/body.tmp") continue;
    if (relative.parent_path() != "box/attach" || !entry.is_regular_file()) std::abort();
  }
  return 0;
}
