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
// in any later section stops the decoder. A name is made safe (its last path component, no control
// byte, "," or ">", at most 255 bytes) and numbered when a file of that name is there already, so
// nothing is written outside the output folder and no file is replaced. A file that cannot be
// created loses its section only: the decoder goes on with the next. Every message goes to the log.
#include <string>
#include <vector>

namespace larkspin {

struct SectionSplit {
  // The number of entries in names at the end, or -1 when the input could not be opened.
  int count = 0;
  // False when a section that names a file could not be stored (its file could not be created or
  // written) or the decoder stopped before the end of the input.
  bool whole = true;
};

// Decodes the sections of input_path into output_folder (which ends with "/") and appends the
// name of each file created, as created, to names.
SectionSplit DecodeBase64Sections(const std::string& input_path, const std::string& output_folder,
                                  std::vector<std::string>& names);

}  // namespace larkspin
