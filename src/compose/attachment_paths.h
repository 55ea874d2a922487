#pragma once
// The attachments field of a mail: file paths separated by ",". Fields are not trimmed, so a
// blank before a path is part of it. Send refuses the whole mail while any listed path is not an
// existing file, so the window and the command line check it with the same rule.
#include <string>
#include <vector>

namespace larkspin {

// Every field in order; an empty list gives no field, "a," gives "a" and an empty field.
std::vector<std::string> AttachmentPaths(const std::string& attachments);

// The fields that are not an existing file (a folder is none), in order, each as it is shown:
// an empty field as "(an empty path)". Empty when every file is there.
std::vector<std::string> MissingAttachments(const std::string& attachments);

}  // namespace larkspin
