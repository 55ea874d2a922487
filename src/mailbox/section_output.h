#pragma once
// Where the section decoder writes the current section's bytes: nowhere yet, a sink that drops
// them (the scratch output of the first section, or a section whose name was refused), or a file.
#include <cstdio>
#include <optional>
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
  // Creates a new attachment file in folder for wanted_name (mailbox/attachment_file.h) and
  // returns the name as created; nullopt on failure.
  std::optional<std::string> OpenNewFile(const std::string& folder, std::string_view wanted_name);
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
