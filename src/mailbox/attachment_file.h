#pragma once
// Creating an attachment file in the attach folder: under the wanted name made safe
// (SafeAttachmentName), numbered " (2)", " (3)" ... when a file of that name is there already,
// so that no attachment ever replaces another file, of this message or of an earlier one.
#include <functional>
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

// Creates the file as above and writes its content: write_content is called once with a sink
// that writes each piece it is given to the file (false once a piece could not be written) and
// says whether all of the content was written. The name as created, or nullopt when the file could
// not be created or written completely (a partly written file is removed again).
using ContentWriter = std::function<bool(const std::function<bool(std::string_view)>& sink)>;
std::optional<std::string> StoreAttachmentFile(const std::string& folder, std::string_view wanted_name,
                                               const ContentWriter& write_content);

}  // namespace larkspin
