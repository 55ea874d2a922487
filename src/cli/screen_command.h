#pragma once
// "larkspin screen [--account N | --all] [--apply]": peeks as "larkspin peek" does, screens each
// listed message with the working folder's rules.txt, address book and my addresses, and prints
// one line per message (screen_lines.h). Without --apply nothing changes on the server. With it,
// each account's matched deletions (each in deleted.log first) and downloads are carried out on
// the connection that listed them, whether or not the rule says auto: the user asked for them.
// Exit status 0, 1 on a failure, 2 on wrong arguments, 3 on a rule file that cannot be read
// (nothing is peeked then).
#include "cli/command_line.h"

namespace larkspin {

int RunScreenCommand(const CommandArguments& arguments);

}  // namespace larkspin
