#pragma once
// The attachment names a stored message lists in its closing line "<<Attachments: a,b,>>".
#include <string>
#include <string_view>
#include <vector>

namespace larkspin {

// The pieces between the first "<<Attachments: " and the next ">>", split at every ",", empty
// pieces left out and nothing trimmed (a blank after a comma stays with the next name). None
// when either marker is missing.
std::vector<std::string> ListedAttachments(std::string_view text);

// The path Open hands to the desktop for the listed name: for a received message (folder not
// empty) folder + "/attach/" + name, and only when name is a file name of its own (see
// IsPlainFileName), else empty; for a sent copy (folder empty) the name as it was typed.
std::string AttachmentPath(const std::string& folder, const std::string& name);

}  // namespace larkspin
