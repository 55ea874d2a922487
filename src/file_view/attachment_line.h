#pragma once
// Where an attachment a stored message lists (mailbox/message_file.h reads the list) is opened.
#include <string>

namespace larkspin {

// The path Open hands to the desktop for the listed name: for a received message (folder not
// empty) folder + "/attach/" + name, and only when name is a file name of its own (see
// IsPlainFileName), else empty; for a sent copy (folder empty) the name as it was typed.
std::string AttachmentPath(const std::string& folder, const std::string& name);

}  // namespace larkspin
