#pragma once
// "larkspin download --account N MESSAGE_NUMBER...": stores the messages of one account as the
// window's download does (message file, split attachments) and prints one tab-separated line per
// message: the message number, the result (the number of attachment files, or -1 when the message
// was already stored), the stored file and the attachment names joined by ",".
#include "cli/command_line.h"

namespace larkspin {

int RunDownloadCommand(const CommandArguments& arguments);

}  // namespace larkspin
