#pragma once
// Creating an attachment file in the attach folder: under the wanted name made safe
// (SafeAttachmentName), numbered " (2)", " (3)" ... when a file of that name is there already,
// so that no attachment ever replaces another file, of this message or of an earlier one.
#include <optional>
#include <string>
#include <string_view>

namespace larkspin {

struct CreatedAttachmentFile {
  int descriptor = -1;  // open for writing; the caller closes it
  std::string name;     // the name as created, directly inside the folder
};

// Creates a new file in folder (which ends with "/"); never replaces a file, never follows a
// symbolic link. nullopt when no name could be created (the folder is missing or not writable,
// or every numbered name up to a bound is taken).
std::optional<CreatedAttachmentFile> CreateAttachmentFile(const std::string& folder, std::string_view wanted_name);

// Creates the file as above and writes bytes into it; the name as created, or nullopt when the
// file could not be created or written completely (a partly written file is removed again).
std::optional<std::string> StoreAttachmentFile(const std::string& folder, std::string_view wanted_name,
                                               std::string_view bytes);

}  // namespace larkspin
