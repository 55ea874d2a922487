#pragma once
// The file name under which an attachment section may be written: a name taken from a message
// never leaves the attach folder.
#include <string>
#include <string_view>

namespace larkspin {

// The name's last path component ("/" and "\" both separate components). Empty when nothing
// usable remains: an empty name, "." or "..", or one holding a control byte.
std::string SafeAttachmentName(std::string_view name);

}  // namespace larkspin
