#pragma once
// "larkspin send --account N --to ... [--cc ...] [--bcc ...] --subject ... [--attach PATH,...]
// [--priority high|normal|low]": sends the text on standard input from account N exactly as the
// compose window's Send does (same message, same sent copy, same log entries). Arguments and the
// text are taken as UTF-8 (as Windows-1252 where they are not valid UTF-8); attachment paths are
// used as they are. Prints the success message; on failure one line on standard error and a
// non-zero exit status (2 for a usage error).
#include "cli/command_line.h"

namespace larkspin {

int RunSendCommand(const CommandArguments& arguments);

}  // namespace larkspin
