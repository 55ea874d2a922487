#pragma once
// "larkspin peek [--account N | --all]": the header list of one account or of all accounts as
// tab-separated UTF-8 lines on standard output, one per message in server order (message
// number, From, Subject, Date, Account, Size), then the total line. Without an option it peeks
// the account the window has selected.
#include "cli/command_line.h"

namespace larkspin {

int RunPeekCommand(const CommandArguments& arguments);

}  // namespace larkspin
