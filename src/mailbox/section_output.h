#pragma once
// Where the section decoder writes the current section's bytes: nowhere yet, a sink that drops
// them (the scratch output of the first section, or a section whose name was refused), or a file.
#include <cstdio>
#include <string>
#include <string_view>

namespace larkspin {

class CSectionOutput {
 public:
  CSectionOutput() = default;
  CSectionOutput(const CSectionOutput&) = delete;
  CSectionOutput& operator=(const CSectionOutput&) = delete;
  ~CSectionOutput() { Close(); }

  bool IsOpen() const { return kind_ != Kind::kNone; }
  void OpenDiscard();
  // Creates or replaces path for binary writing; never follows a symbolic link. False on failure.
  bool OpenFile(const std::string& path);
  void Write(std::string_view bytes);
  // Ends the output; false when a file's bytes could not all be written.
  bool Close();

 private:
  enum class Kind { kNone, kDiscard, kFile };
  Kind kind_ = Kind::kNone;
  std::FILE* file_ = nullptr;
  bool write_failed_ = false;
};

}  // namespace larkspin
