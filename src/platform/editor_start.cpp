#include "platform/editor_start.h"

#include <cstdlib>

#include "platform/program_start.h"

namespace larkspin {

bool OpenFileInEditor(const std::string& path) {
  if (StartProgram("xdg-open", path)) return true;
  for (const char* variable : {"VISUAL", "EDITOR"}) {
    const char* editor = std::getenv(variable);
    if (editor != nullptr && *editor != '\0' && StartProgram(editor, path)) return true;
  }
  return false;
}

}  // namespace larkspin
