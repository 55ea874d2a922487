#pragma once
// Folder and working-directory helpers.
#include <optional>
#include <string>

namespace larkspin {

// The absolute working directory, ending in "/".
std::string WorkingDirectory();

// Creates one folder; false when it could not be made (including when it already exists).
bool MakeFolder(const std::string& path);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// The file's bytes; nullopt when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path);
// Writes content to "path.new" and renames it over path, so a crash leaves either the old file or
// the new one, never a part of either. False (path untouched) when it could not be written.
bool ReplaceFile(const std::string& path, const std::string& content);

}  // namespace larkspin
