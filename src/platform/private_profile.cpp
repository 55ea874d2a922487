#include "platform/private_profile.h"

#include <optional>
#include <vector>

#include "common/string_tools.h"
#include "platform/file_system.h"

namespace larkspin {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// A value that would lose bytes to trimming or to quote stripping on reading is written in quotes.
bool NeedsQuotes(std::string_view value) {
  if (value.empty()) return false;
  if (IsBlank(value.front()) || IsBlank(value.back())) return true;
  return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

std::string_view StripQuotes(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
  return value;
}

// One line of the file with its own line end kept, so unchanged lines are written back byte for byte.
struct ProfileLine {
  std::string text;    // without the line end
  std::string ending;  // "\r\n", "\n" or "" for a last line without one
};

std::vector<ProfileLine> SplitLines(const std::string& content) {
  std::vector<ProfileLine> lines;
  size_t start = 0;
  while (start < content.size()) {
    size_t newline = content.find('\n', start);
    if (newline == std::string::npos) {
      lines.push_back({content.substr(start), ""});
      break;
    }
    const bool crlf = newline > start && content[newline - 1] == '\r';
    const size_t text_end = crlf ? newline - 1 : newline;
    lines.push_back({content.substr(start, text_end - start), crlf ? "\r\n" : "\n"});
    start = newline + 1;
  }
  return lines;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  std::string_view trimmed = TrimBlanks(line);
  if (trimmed.size() < 2 || trimmed.front() != '[') return std::nullopt;
  const size_t close = trimmed.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(trimmed.substr(1, close - 1));
}

// The key of a "key=value" line, or nothing for comments and lines without "=".
std::optional<std::string_view> KeyName(std::string_view line) {
  std::string_view trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
  const size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return TrimBlanks(trimmed.substr(0, equals));
}

std::string_view ValueOf(std::string_view line) {
  return StripQuotes(TrimBlanks(line.substr(line.find('=') + 1)));
}

// Where a section and a key sit among the lines.
struct ProfilePosition {
  std::optional<size_t> section_line;  // the "[section]" line
  size_t section_end = 0;              // one past the section's last key line
  std::optional<size_t> key_line;
};

ProfilePosition Locate(const std::vector<ProfileLine>& lines, std::string_view section, std::string_view key) {
  ProfilePosition position;
  bool inside = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (auto name = SectionName(lines[i].text)) {
      if (inside) break;
      inside = EqualsIgnoringCase(*name, section);
      if (inside) {
        position.section_line = i;
        position.section_end = i + 1;
      }
      continue;
    }
    if (!inside) continue;
    auto name = KeyName(lines[i].text);
    if (!name) continue;
    position.section_end = i + 1;
    if (EqualsIgnoringCase(*name, key)) {
      position.key_line = i;
      break;
    }
  }
  return position;
}

std::string PreferredEnding(const std::vector<ProfileLine>& lines) {
  for (const ProfileLine& line : lines)
    if (!line.ending.empty()) return line.ending;
  return "\n";
}

std::string JoinLines(const std::vector<ProfileLine>& lines) {
  std::string content;
  for (const ProfileLine& line : lines) content += line.text + line.ending;
  return content;
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view default_value) {
  std::optional<std::string> content = ReadWholeFile(path);
  if (!content) return std::string(default_value);
  const std::vector<ProfileLine> lines = SplitLines(*content);
  const ProfilePosition position = Locate(lines, section, key);
  if (!position.key_line) return std::string(default_value);
  return std::string(ValueOf(lines[*position.key_line].text));
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
  std::vector<ProfileLine> lines = SplitLines(ReadWholeFile(path).value_or(""));
  const std::string ending = PreferredEnding(lines);
  const std::string stored = NeedsQuotes(value) ? "\"" + std::string(value) + "\"" : std::string(value);
  const std::string key_line = std::string(key) + "=" + stored;
  const ProfilePosition position = Locate(lines, section, key);
  if (position.key_line) {
    lines[*position.key_line].text = key_line;
  } else if (position.section_line) {
    if (lines[position.section_end - 1].ending.empty()) lines[position.section_end - 1].ending = ending;
    lines.insert(lines.begin() + static_cast<long>(position.section_end), {key_line, ending});
  } else {
    if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = ending;
    lines.push_back({"[" + std::string(section) + "]", ending});
    lines.push_back({key_line, ending});
  }
  return ReplaceFile(path, JoinLines(lines));
}

bool RemoveProfileKey(const std::string& path, std::string_view section, std::string_view key) {
  std::optional<std::string> content = ReadWholeFile(path);
  if (!content) return true;
  std::vector<ProfileLine> lines = SplitLines(*content);
  const ProfilePosition position = Locate(lines, section, key);
  if (!position.key_line) return true;
  lines.erase(lines.begin() + static_cast<long>(*position.key_line));
  return ReplaceFile(path, JoinLines(lines));
}

bool RemoveProfileSection(const std::string& path, std::string_view section) {
  std::optional<std::string> content = ReadWholeFile(path);
  if (!content) return true;
  std::vector<ProfileLine> lines = SplitLines(*content);
  // No key can be named by a line break, so this finds the section's end.
  const ProfilePosition position = Locate(lines, section, "\n");
  if (!position.section_line) return true;
  lines.erase(lines.begin() + static_cast<long>(*position.section_line),
              lines.begin() + static_cast<long>(position.section_end));
  return ReplaceFile(path, JoinLines(lines));
}

}  // namespace larkspin
