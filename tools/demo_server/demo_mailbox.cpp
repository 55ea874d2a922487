#include "demo_server/demo_mailbox.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/format.h"

namespace larkspin::demo {

namespace {
namespace fs = std::filesystem;

// POP3 unique ids are at most 70 printable characters: a 64-bit FNV-1a hash of the file name.
std::string UniqueIdOf(const std::string& file_name) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (unsigned char c : file_name) hash = (hash ^ c) * 0x100000001b3ULL;
  return FormatText("%016llx", static_cast<unsigned long long>(hash));
}

bool ReadWholeFile(const fs::path& path, std::string& content) {
  std::ifstream in(path, std::ios::binary);
  content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}
}  // namespace

std::string WithCrlfLineEnds(const std::string& text) {
  std::string result;
  result.reserve(text.size() + text.size() / 32 + 2);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result += '\r';
    result += text[i];
  }
  if (!result.ends_with("\r\n")) result += "\r\n";
  return result;
}

bool CDemoMailbox::Load(const std::string& folder, std::string& error) {
  std::error_code failure;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder, failure)) {
    if (entry.is_regular_file() && !entry.path().filename().string().starts_with(".")) files.push_back(entry.path());
  }
  if (failure) {
    error = "cannot read the folder " + folder + ": " + failure.message();
    return false;
  }
  std::sort(files.begin(), files.end());
  DemoMessageList loaded;
  for (const fs::path& file : files) {
    std::string text;
    if (!ReadWholeFile(file, text)) {
      error = "cannot read " + file.string();
      return false;
    }
    loaded.push_back(std::make_shared<const DemoMessage>(
        DemoMessage{UniqueIdOf(file.filename().string()), WithCrlfLineEnds(text)}));
  }
  std::lock_guard lock(mutex_);
  messages_ = std::move(loaded);
  return true;
}

DemoMessageList CDemoMailbox::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

void CDemoMailbox::Remove(const DemoMessageList& messages) {
  std::lock_guard lock(mutex_);
  std::erase_if(messages_, [&messages](const auto& message) {
    return std::find(messages.begin(), messages.end(), message) != messages.end();
  });
}

}  // namespace larkspin::demo
