#pragma once
// Folder and working-directory helpers. Mail and credentials are private: every folder the
// program makes is 0700 and every file it creates 0600, whatever the umask (which can only take
// bits away). Modes are given at each creation rather than by a process umask, which the
// desktop programs started from here (editor, xdg-open) would inherit. A file or folder that
// exists keeps the mode the user gave it.
#include <cstdio>
#include <optional>
#include <string>

namespace larkspin {

// The absolute working directory, ending in "/".
std::string WorkingDirectory();

// Creates one folder (0700); false when it could not be made (including when it already exists).
bool MakeFolder(const std::string& path);
// Creates path and every missing folder above it (each 0700); true when path is a folder then.
bool MakeFolders(const std::string& path);
// std::fopen for writing ("w", "a" or "a+", each with or without "b"), a new file made 0600 and
// not inherited by programs started later; nullptr on failure or an unknown mode.
std::FILE* OpenPrivateFile(const std::string& path, const char* mode);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// The file's bytes; nullopt when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path);
// Writes content to "path.new" and renames it over path, so a crash leaves either the old file or
// the new one, never a part of either. The new file has the old one's mode (0600 when there was
// none). False (path untouched) when it could not be written.
bool ReplaceFile(const std::string& path, const std::string& content);
// Appends line and a line feed to the file at path (made 0600 when missing), after a line feed
// of its own when the file ends inside a line, and waits until it is on the disk. False when it
// could not be written.
bool AppendLineToFile(const std::string& path, const std::string& line);

}  // namespace larkspin
