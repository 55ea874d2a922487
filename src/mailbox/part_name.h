#pragma once
// The file name of a MIME part that names none: its position in the message and an extension of
// its content type, e.g. "part-3.png" for the third leaf, an image/png.
#include <string>
#include <string_view>

namespace larkspin {

// "part-<position>.<extension>"; the extension of a type this table does not know is "bin".
std::string PartFileName(int position, std::string_view content_type);

}  // namespace larkspin
