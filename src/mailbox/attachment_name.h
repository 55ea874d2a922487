#pragma once
// The file name under which an attachment may be written: a name taken from a message never
// leaves the attach folder, never breaks the stored attachment line, and never takes the name of
// a file that is already there.
#include <string>
#include <string_view>

namespace larkspin {

// The longest attachment file name, in bytes (the file system's limit).
inline constexpr size_t kMaxAttachmentNameBytes = 255;

// The name's last path component ("/" and "\" both separate components) with every control
// byte, "," and ">" turned into "_" (the attachment line lists names between "<<Attachments: "
// and ">>", separated by commas), cut to kMaxAttachmentNameBytes on a whole UTF-8 character with
// its extension kept. "attachment" when nothing usable remains: an empty name, "." or "..".
std::string SafeAttachmentName(std::string_view name);

// The name to try when safe_name is taken: "stem (n).ext" for n >= 2, its stem cut so that the
// whole stays within kMaxAttachmentNameBytes. n = 1 gives safe_name itself.
std::string NumberedAttachmentName(std::string_view safe_name, int n);

// True when name names a file directly inside a folder as SafeAttachmentName writes it: not
// empty, no "/" or "\\", not "." or "..", no control byte, "," or ">". A stored message can list
// any text as an attachment (its body may hold the attachment line itself), so a listed name is
// opened only when this holds.
bool IsPlainFileName(std::string_view name);

}  // namespace larkspin
