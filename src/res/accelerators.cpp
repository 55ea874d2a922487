// The keys of the windows: Enter opens the header list's selected row, Del marks it for
// deletion, Ctrl+N composes and Ctrl+R replies in the main window; Ctrl+P prints in the message
// view; Ctrl+Enter sends in the compose window.
#include "res/control_ids.h"
#include "res/resources.h"

namespace larkspin {

const std::vector<Accelerator>& AcceleratorsOf(int template_id) {
  static const std::vector<Accelerator> none;
  static const std::vector<Accelerator> main_window = {
      {kKeyReturn, kKeyPlain, kCommandOpenMessage, kHeaderList},
      {kKeyDelete, kKeyPlain, kDeleteButton},
      {'N', kKeyCtrl, kComposeButton},
      {'R', kKeyCtrl, kReplyToButton},
  };
  static const std::vector<Accelerator> file_view = {{'P', kKeyCtrl, kFileViewPrintButton}};
  static const std::vector<Accelerator> send_window = {{kKeyReturn, kKeyCtrl, kSendButton}};
  switch (template_id) {
    case kDialogMain: return main_window;
    case kDialogFileView: return file_view;
    case kDialogSend: return send_window;
    default: return none;
  }
}

}  // namespace larkspin
