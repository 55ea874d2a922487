#pragma once
// The header block of a MIME part, read as Python's email package reads it: header lines are
// "Name:" lines (the name made of printable bytes other than blank and ":"), lines that begin with
// a blank or tab (continuing the field before) and "From " lines (ignored); the block ends at the
// first other line, and an empty line ending it belongs to the block. A part whose first line is
// no header line has no header. Only the fields the tree needs are kept, each from its first
// occurrence.
#include <optional>
#include <string>
#include <string_view>

#include "mailbox/mime_lines.h"

namespace larkspin {

struct MimeHeaderFields {
  // Unfolded values: the first line's text after the colon without leading blanks and tabs, then
  // the continuation lines as they are, every CR and LF removed.
  std::optional<std::string> content_type;
  std::string transfer_encoding;
  std::string disposition;
  std::string content_id;
  bool field_cut = false;  // a kept value was longer than kMaxFieldBytes and is cut there
};

inline constexpr size_t kMaxFieldBytes = 64 * 1024;

// Reads the header block at the cursor, which stops at its end (or at the end of the part).
MimeHeaderFields ReadMimeHeader(CMimeLineCursor& cursor);

// The lower-case "type/subtype" of a Content-Type value: default_type when there is none, and
// "text/plain" when the text before the first ";" does not hold exactly one "/" (RFC 2045).
std::string MediaTypeOf(const std::optional<std::string>& content_type, std::string_view default_type);

// True when a Content-Disposition value's type (before the first ";") is "attachment", any case.
bool IsAttachmentDisposition(std::string_view disposition);

// A parameter of a field value as UTF-8 with surrounding white space removed (mime/header_parameter.h).
std::string TrimmedParameter(std::string_view field_value, std::string_view name);

}  // namespace larkspin
