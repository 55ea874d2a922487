#include "cli/command_log.h"

#include <cstdio>

#include "config/log.h"
#include "config/working_files.h"

namespace larkspin {

void OpenCommandLog() {
  if (OpenLog(kLogFile) != 1) std::fprintf(stderr, "Couldn't open LogFile.\n");
}

}  // namespace larkspin
