#pragma once
// The temporary working folder of a fuzz target that writes files: made once per run, the
// process's working directory, removed at exit.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace larkspin::fuzz {

inline const std::filesystem::path& WorkFolder() {
  static const std::filesystem::path* const folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "larkspin-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    std::filesystem::current_path(pattern);
    std::atexit([] { std::filesystem::remove_all(WorkFolder()); });
    return new std::filesystem::path(pattern);
  }();
  return *folder;
}

}  // namespace larkspin::fuzz
