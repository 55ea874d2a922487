#include "mailbox/mime_header.h"

#include <algorithm>
#include <cctype>

#include "common/string_tools.h"
#include "mime/header_parameter.h"
#include "mime/mail_header.h"

namespace larkspin {

namespace {
constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

bool IsContinuation(std::string_view line) { return line.starts_with(' ') || line.starts_with('\t'); }

bool IsHeaderLine(std::string_view line) {
  return IsContinuation(line) || line.starts_with("From ") || HeaderFieldNameLength(line) != std::string_view::npos;
}

bool IsEmptyLine(std::string_view line) { return line.starts_with('\r') || line.starts_with('\n'); }

// Where the lines of the field being read go: nowhere, or one of the kept values.
std::string* KeptValue(MimeHeaderFields& fields, std::string_view name) {
  if (EqualsIgnoringCase(name, "Content-Type")) return fields.content_type ? nullptr : &fields.content_type.emplace();
  std::string* value = nullptr;
  if (EqualsIgnoringCase(name, "Content-Transfer-Encoding")) value = &fields.transfer_encoding;
  if (EqualsIgnoringCase(name, "Content-Disposition")) value = &fields.disposition;
  if (EqualsIgnoringCase(name, "Content-ID")) value = &fields.content_id;
  return value != nullptr && value->empty() ? value : nullptr;
}

void AppendUnfolded(std::string_view text, std::string& value, bool& cut) {
  for (const char c : text) {
    if (c == '\r' || c == '\n') continue;
    if (value.size() == kMaxFieldBytes) {
      cut = true;
      return;
    }
    value += c;
  }
}
}  // namespace

MimeHeaderFields ReadMimeHeader(CMimeLineCursor& cursor) {
  MimeHeaderFields fields;
  std::string* value = nullptr;
  while (!cursor.AtPartEnd()) {
    const std::string_view line = cursor.Line();
    if (!IsHeaderLine(line)) {
      if (IsEmptyLine(line)) cursor.Advance();
      break;
    }
    cursor.Advance();
    if (IsContinuation(line)) {
      if (value != nullptr) AppendUnfolded(line, *value, fields.field_cut);
      continue;
    }
    const size_t name_length = HeaderFieldNameLength(line);
    value = name_length == 0 || name_length == std::string_view::npos ? nullptr
                                                                      : KeptValue(fields, line.substr(0, name_length));
    if (value != nullptr) {
      const std::string_view rest = line.substr(name_length + 1);
      AppendUnfolded(rest.substr(std::min(rest.size(), rest.find_first_not_of(" \t"))), *value, fields.field_cut);
    }
  }
  return fields;
}

std::string MediaTypeOf(const std::optional<std::string>& content_type, std::string_view default_type) {
  if (!content_type) return std::string(default_type);
  std::string type(Trimmed(std::string_view(*content_type).substr(0, content_type->find(';')), kWhiteSpace));
  if (std::ranges::count(type, '/') != 1) return "text/plain";
  std::ranges::transform(type, type.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return type;
}

bool IsAttachmentDisposition(std::string_view disposition) {
  return EqualsIgnoringCase(Trimmed(disposition.substr(0, disposition.find(';')), kWhiteSpace), "attachment");
}

std::string TrimmedParameter(std::string_view field_value, std::string_view name) {
  return std::string(Trimmed(ParameterValue(field_value, name), kWhiteSpace));
}

}  // namespace larkspin
