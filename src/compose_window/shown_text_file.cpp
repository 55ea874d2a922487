#include "compose_window/shown_text_file.h"

#include <utility>

#include "common/message_box.h"
#include "compose/text_file.h"

namespace larkspin {

std::string ShownTextFile(const std::string& path) {
  TextFileContents contents = ReadTextFile(path);
  if (contents.read_error) MessageBoxF(kBoxOk, "A Read Error has occured.");
  return std::move(contents.text);
}

}  // namespace larkspin
