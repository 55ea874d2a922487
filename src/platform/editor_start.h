#pragma once
// Opening one of the program's text files (config.ini, address.txt, signature.txt) in the
// desktop's editor, without waiting for it: xdg-open, or else $VISUAL or $EDITOR.
#include <string>

namespace larkspin {

// False when no editor could be started.
bool OpenFileInEditor(const std::string& path);

}  // namespace larkspin
