#pragma once
// Folder and working-directory helpers.
#include <string>

namespace larkspin {

// The absolute working directory, ending in "/".
std::string WorkingDirectory();

// Creates one folder; false when it could not be made (including when it already exists).
bool MakeFolder(const std::string& path);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

}  // namespace larkspin
