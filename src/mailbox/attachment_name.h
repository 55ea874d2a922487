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

}  // namespace larkspin
