#include "peek/deleted_log.h"

#include <charconv>

#include "common/text_encoding.h"
#include "platform/file_system.h"
#include "platform/local_time.h"

namespace larkspin {

namespace {
constexpr size_t kFieldCount = 9;

std::string Escaped(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '\\': escaped += "\\\\"; break;
      case '\t': escaped += "\\t"; break;
      case '\n': escaped += "\\n"; break;
      case '\r': escaped += "\\r"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

// A "\" before any other character, or at the end, stands for itself.
std::string Unescaped(std::string_view field) {
  std::string text;
  text.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      text += field[i];
      continue;
    }
    const char next = field[++i];
    if (next == 't') text += '\t';
    else if (next == 'n') text += '\n';
    else if (next == 'r') text += '\r';
    else if (next == '\\') text += '\\';
    else text += {'\\', next};
  }
  return text;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1)
    fields.push_back(line.substr(start, tab - start));
  fields.push_back(line.substr(start));
  return fields;
}

std::string TimeNow() {
  const std::tm now = LocalNow();
  char text[40];
  return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %z", &now));
}

std::string SenderText(const MailAddress& from) {
  if (from.display_name.empty()) return from.address;
  return from.display_name + " <" + from.address + ">";
}
}  // namespace

DeletedMessage DeletedMessageOf(const PeekedMessage& message, const std::string& account_name) {
  const TextEncoding encoding = message.encoding;
  DeletedMessage deleted;
  deleted.account = TextAsUtf8(account_name, encoding);
  deleted.unique_id = message.unique_id;
  deleted.message_id = TextAsUtf8(message.message_id, encoding);
  deleted.from = TextAsUtf8(SenderText(message.from), encoding);
  deleted.subject = TextAsUtf8(message.subject, encoding);
  deleted.date = TextAsUtf8(message.header.First("Date"), encoding);
  deleted.size = message.size;
  return deleted;
}

std::string DeletedLogLine(const DeletedMessage& message) {
  const std::string_view rule = message.rule.empty() ? std::string_view(kDeletedByHand) : message.rule;
  std::string line;
  for (const std::string_view field : {std::string_view(message.time), std::string_view(message.account),
                                       std::string_view(message.unique_id), std::string_view(message.message_id),
                                       std::string_view(message.from), std::string_view(message.subject),
                                       std::string_view(message.date)})
    line += Escaped(field) + '\t';
  return line + std::to_string(message.size) + '\t' + Escaped(rule);
}

std::optional<DeletedMessage> ParseDeletedLogLine(std::string_view line) {
  const std::vector<std::string_view> fields = Fields(line);
  if (fields.size() < kFieldCount) return std::nullopt;
  DeletedMessage message;
  const std::string_view size = fields[7];
  const auto [end, error] = std::from_chars(size.data(), size.data() + size.size(), message.size);
  if (size.empty() || error != std::errc() || end != size.data() + size.size()) return std::nullopt;
  for (auto [field, text] : {std::pair{&message.time, fields[0]}, {&message.account, fields[1]},
                             {&message.unique_id, fields[2]}, {&message.message_id, fields[3]},
                             {&message.from, fields[4]}, {&message.subject, fields[5]}, {&message.date, fields[6]},
                             {&message.rule, fields[8]}})
    *field = Unescaped(text);
  if (message.rule == kDeletedByHand) message.rule.clear();
  return message;
}

// A file whose last line lacks its line end (saved so by an editor) gets one first, so the new
// line stays a line of its own.
bool AppendToDeletedLog(const std::string& path, DeletedMessage message) {
  message.time = TimeNow();
  return AppendLineToFile(path, DeletedLogLine(message));
}

std::vector<DeletedMessage> ReadDeletedLog(const std::string& path) {
  std::vector<DeletedMessage> messages;
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text) return messages;
  for (std::string_view rest = *text; !rest.empty();) {
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (auto message = ParseDeletedLogLine(line)) messages.push_back(std::move(*message));
  }
  return messages;
}

}  // namespace larkspin
