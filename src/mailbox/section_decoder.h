#pragma once
// The base64 section decoder: reads a text file holding the body of a multipart message and
// writes every base64 section that names a file into that file in an output folder.
//
// It is a line scanner, not a MIME parser. Header lines are recognised by their first word, data
// lines by their characters, and a section ends at an empty line (or a line starting with a byte
// below "+") in its data, or where its base64 stops ("=" or another byte outside the alphabet).
// Names come from the "name" parameter of a Content-Type line or of the header lines after it,
// up to a Content-Transfer-Encoding line. A section under a Content-Transfer-Encoding that does
// not name base64 opens no file and its first data line is skipped; that mark survives sections
// until a Content-Transfer-Encoding names base64 again. The first section's output is a scratch
// sink that nothing reaches, so unnamed data before the first attachment is dropped; unnamed data
// in any later section stops the decoder. A name is reduced to its last path component, and one
// that names no file ("..") is refused, so nothing is written outside the output folder. Every
// message goes to the log.
#include <string>
#include <vector>

#include "common/text_encoding.h"

namespace larkspin {

// Decodes the sections of input_path into output_folder (which ends with "/") and appends the
// name of each file created to names. Returns the number of entries in names at the end, or -1
// when input_path cannot be opened. With TextEncoding::kUtf8 a section's name is the one
// Utf8AttachmentName reads from all of its header lines, when they give one.
int DecodeBase64Sections(const std::string& input_path, const std::string& output_folder,
                         std::vector<std::string>& names, TextEncoding encoding = TextEncoding::kClassic);

}  // namespace larkspin
