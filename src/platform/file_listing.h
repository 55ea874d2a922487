#pragma once
// Listing the files of one folder that match a name pattern, as the desktop's file search does.
#include <string>
#include <vector>

namespace larkspin {

// pattern is a folder, "/", and a name pattern with "*" and "?" ("*.*" matches every name, with or
// without a dot, as the desktop's search does). Appends the names of the matching entries that are
// not folders to names, in the order the file system lists them. Answers the number of names
// after the call, or -1 when nothing matches or the folder cannot be read.
int ListFiles(const std::string& pattern, std::vector<std::string>& names);

}  // namespace larkspin
