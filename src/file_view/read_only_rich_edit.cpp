#include "file_view/read_only_rich_edit.h"

#include "ui/control_state.h"
#include "ui/dialog.h"

namespace larkspin {

bool CReadOnlyRichEdit::Attach(CDialog& window, int control_id) {
  if (!window.HasItem(control_id)) return false;
  window.SetBackground(control_id, kButtonFaceColour);
  window.EnableItem(control_id, false);
  window.SetReadOnly(control_id, true);
  return true;
}

}  // namespace larkspin
