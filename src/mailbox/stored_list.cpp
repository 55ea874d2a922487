#include "mailbox/stored_list.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "mailbox/mailbox_layout.h"
#include "platform/file_system.h"

namespace larkspin {

namespace {
constexpr char kSeparator = '\t';
constexpr size_t kFieldCount = 5;

// A field as written: tabs and line ends would break the line, so they become blanks.
std::string FieldText(std::string_view value) {
  std::string field(value);
  std::replace_if(field.begin(), field.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return field;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (size_t start = 0;;) {
    const size_t end = line.find(kSeparator, start);
    fields.push_back(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return fields;
    start = end + 1;
  }
}

std::optional<StoredListEntry> EntryOfLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::vector<std::string_view> fields = SplitFields(line);
  if (fields.size() != kFieldCount || fields[4].empty()) return std::nullopt;
  StoredListEntry entry{std::string(fields[0]), std::string(fields[1]), std::string(fields[2]), 0, std::string(fields[4])};
  const auto [end, error] = std::from_chars(fields[3].data(), fields[3].data() + fields[3].size(), entry.size);
  if (error != std::errc() || end != fields[3].data() + fields[3].size()) return std::nullopt;
  return entry;
}

std::string LineOf(const StoredListEntry& entry) {
  return FieldText(entry.unique_id) + kSeparator + FieldText(entry.message_id) + kSeparator +
         FieldText(entry.last_reference) + kSeparator + std::to_string(entry.size) + kSeparator +
         FieldText(entry.file) + "\n";
}
}  // namespace

CStoredList::CStoredList(int account_number) : account_number_(account_number) {
  const std::string path = StoredListPath(account_number);
  const std::optional<std::string> content = ReadWholeFile(path);
  if (!content) {
    readable_ = !FileExists(path);
    return;
  }
  std::string_view rest = *content;
  while (!rest.empty()) {
    const size_t line_end = std::min(rest.find('\n'), rest.size());
    std::optional<StoredListEntry> entry = EntryOfLine(rest.substr(0, line_end));
    rest.remove_prefix(std::min(line_end + 1, rest.size()));
    if (entry && FileExists(AccountFolder(account_number) + "/" + entry->file)) entries_.push_back(std::move(*entry));
  }
}

const StoredListEntry* CStoredList::EntryOfFile(std::string_view file) const {
  const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const StoredListEntry& entry) { return entry.file == file; });
  return found == entries_.end() ? nullptr : &*found;
}

bool CStoredList::Record(StoredListEntry entry) {
  if (!readable_) return false;
  std::erase_if(entries_, [&](const StoredListEntry& old) { return old.file == entry.file; });
  entries_.push_back(std::move(entry));
  std::string content;
  for (const StoredListEntry& kept : entries_) content += LineOf(kept);
  return ReplaceFile(StoredListPath(account_number_), content);
}

std::string LastReference(std::string_view references) {
  const size_t close = references.rfind('>');
  if (close == std::string_view::npos) return {};
  const size_t open = references.rfind('<', close);
  if (open == std::string_view::npos) return {};
  return std::string(references.substr(open, close - open + 1));
}

}  // namespace larkspin
