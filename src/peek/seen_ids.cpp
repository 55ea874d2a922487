#include "peek/seen_ids.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/file_system.h"

namespace larkspin {

namespace {
constexpr size_t kMaxUniqueIdLength = 70;

bool IsUniqueId(std::string_view id) {
  return !id.empty() && id.size() <= kMaxUniqueIdLength &&
         std::all_of(id.begin(), id.end(), [](char c) { return c >= '!' && c <= '~'; });
}

std::set<std::string> IdsOfFile(const std::string& content) {
  std::set<std::string> ids;
  std::string_view rest = content;
  while (!rest.empty()) {
    const size_t line_end = std::min(rest.find('\n'), rest.size());
    std::string_view line = rest.substr(0, line_end);
    rest.remove_prefix(std::min(line_end + 1, rest.size()));
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    if (IsUniqueId(line)) ids.emplace(line);
  }
  return ids;
}
}  // namespace

CSeenIds::CSeenIds(std::string path) : path_(std::move(path)) {
  const std::optional<std::string> content = ReadWholeFile(path_);
  if (content) seen_ = IdsOfFile(*content);
  else readable_ = !FileExists(path_);
}

bool CSeenIds::NoteListed(const std::string& id) {
  if (!readable_ || !IsUniqueId(id)) return false;
  listed_.insert(id);
  return !seen_.contains(id);
}

bool CSeenIds::Save(const std::vector<std::string>& server_ids) {
  if (!readable_) return false;
  std::set<std::string> kept = listed_;
  for (const std::string& id : server_ids)
    if (seen_.contains(id)) kept.insert(id);
  std::string content;
  for (const std::string& id : kept) content += id + "\n";
  return ReplaceFile(path_, content);
}

}  // namespace larkspin
