#include "mailbox/message_file.h"

#include "common/string_tools.h"

namespace larkspin {

namespace {
constexpr std::string_view kLineEnd = "\r\n";

void AppendLine(std::string& out, std::string_view label, std::string_view value) {
  out.append(label);
  out.append(value);
  out.append(kLineEnd);
}
}  // namespace

std::string StoredHeaderLines(const StoredMessageHeader& header) {
  std::string lines;
  AppendLine(lines, kFromLabel, header.from);
  AppendLine(lines, kToLabel, header.to);
  if (!header.cc.empty()) AppendLine(lines, kCcLabel, header.cc);
  AppendLine(lines, kSentLabel, header.sent);
  AppendLine(lines, kSubjectLabel, header.subject);
  AppendLine(lines, kPriorityLabel, header.priority);
  lines.append(kLineEnd);
  return lines;
}

std::string AttachmentLine(const std::vector<std::string>& names) {
  std::string line = "\r\r\n";
  line.append(kAttachmentsOpening);
  for (const std::string& name : names) line.append(name).append(",");
  line.append(kAttachmentsClosing);
  return line;
}

std::string StoredField(std::string_view content, std::string_view label) {
  const size_t at = content.find(label);
  if (at == std::string_view::npos) return {};
  const size_t start = at + label.size();
  return std::string(content.substr(start, content.find(kLineEnd, start) - start));
}

std::vector<std::string> StoredAttachmentNames(std::string_view content) {
  const std::string list = Between(content, kAttachmentsOpening, kAttachmentsClosing);
  std::vector<std::string> names;
  size_t start = 0;
  while (start < list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    if (comma > start) names.push_back(list.substr(start, comma - start));
    start = comma + 1;
  }
  return names;
}

}  // namespace larkspin
