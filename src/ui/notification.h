#pragma once
// What a control reports to its window besides commands.
#include "ui/geometry.h"

namespace larkspin {

enum class NotifyCode {
  kSelectionChange,  // drop-down list or list view selection changed by the user
  kDoubleClick,      // list view
  kRightClick,       // list view; screen_point is the mouse position
  kColumnClick,      // list view header; index is the column
  kTextChange,       // edit field changed by typing
};

struct Notification {
  int control_id = 0;
  NotifyCode code = NotifyCode::kSelectionChange;
  int index = -1;
  Point screen_point;
};

}  // namespace larkspin
