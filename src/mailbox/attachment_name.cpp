#include "mailbox/attachment_name.h"

#include <algorithm>

#include "common/string_tools.h"
#include "mime/header_parameter.h"

namespace larkspin {

namespace {
bool HasControlByte(std::string_view name) {
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return true;
  }
  return false;
}
// The unfolded value of the last header line named name, or empty: the lines before a section's
// own may be those of a text part the scanner did not see end.
std::string FieldOf(std::string_view header_lines, std::string_view name) {
  std::string value;
  bool in_field = false;
  for (size_t at = 0; at < header_lines.size();) {
    const size_t end = std::min(header_lines.find('\n', at), header_lines.size());
    const std::string_view line = header_lines.substr(at, end - at);
    at = end + 1;
    const bool continues = !line.empty() && (line.front() == ' ' || line.front() == '\t');
    const size_t colon = line.find(':');
    if (in_field && continues) {
      value += line;
      continue;
    }
    in_field = !continues && colon != std::string_view::npos && EqualsIgnoringCase(line.substr(0, colon), name);
    if (in_field) value = line.substr(colon + 1);
  }
  return value;
}
}  // namespace

std::string Utf8AttachmentName(std::string_view header_lines) {
  std::string name = ParameterValue(FieldOf(header_lines, "Content-Disposition"), "filename");
  if (name.empty()) name = ParameterValue(FieldOf(header_lines, "Content-Type"), "name");
  return name;
}

std::string SafeAttachmentName(std::string_view name) {
  const size_t separator = name.find_last_of("/\\");
  const std::string_view last = separator == std::string_view::npos ? name : name.substr(separator + 1);
  if (last.empty() || last == "." || last == ".." || HasControlByte(last)) return {};
  return std::string(last);
}

bool IsPlainFileName(std::string_view name) { return !name.empty() && SafeAttachmentName(name) == name; }

}  // namespace larkspin
