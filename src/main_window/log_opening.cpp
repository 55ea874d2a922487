#include "main_window/log_opening.h"

#include "common/message_box.h"
#include "config/log.h"
#include "config/working_files.h"

namespace larkspin {

bool OpenLogOrShowFailure() {
  if (OpenLog(kLogFile) == 1) return true;
  MessageBoxF(kBoxOk | kBoxPlain, "Couldn't open LogFile.");
  return false;
}

}  // namespace larkspin
