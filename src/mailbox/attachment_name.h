#pragma once
// The file name under which an attachment section may be written: a name taken from a message
// never leaves the attach folder.
#include <string>
#include <string_view>

namespace larkspin {

// The name's last path component ("/" and "\" both separate components). Empty when nothing
// usable remains: an empty name, "." or "..", or one holding a control byte.
std::string SafeAttachmentName(std::string_view name);

// True when name names a file directly inside a folder: not empty, no "/" or "\\", not "." or
// "..", no control byte. A stored message can list any text as an attachment (its body may hold
// the attachment line itself), so a listed name is opened only when this holds.
bool IsPlainFileName(std::string_view name);

// The name a section's header lines give its file for the Modern charsets, as valid UTF-8: the
// filename parameter of the last Content-Disposition, else the name parameter of the last
// Content-Type, both in any of the RFC 2231 and RFC 2047 forms. Lines end with LF; a line that
// starts with a blank or tab continues the one before. Empty when neither parameter is there.
std::string Utf8AttachmentName(std::string_view header_lines);

}  // namespace larkspin
