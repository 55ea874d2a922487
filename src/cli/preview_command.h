#pragma once
#include "cli/command_line.h"

namespace larkspin {

// larkspin preview --account N NUMBER: the first [System] PreviewLines lines of message NUMBER's
// text, read on the server without downloading it, then one line per attachment that begins
// within them (name, tab, type). Exit 0; 1 on a failure (named on standard error); 2 on wrong
// arguments.
int RunPreviewCommand(const CommandArguments& arguments);

}  // namespace larkspin
