// Downloading the message of one row on the calling thread's session: the row's record is copied
// into the order (its file id names the message file), and the result comes back through
// OnDownloadResult.
#include "main_window/dlg_main.h"

namespace larkspin {

int CDlgMain::DownloadRow(int position, bool skip_check) {
  std::optional<DownloadOrder> order = model_.DownloadOrderOf(list_.RowKey(position));
  if (!order) return kDownloadSkipped;
  order->account_number = account_.account_number;
  order->skip_check = skip_check;
  return session_.Download(*order, *this);
}

}  // namespace larkspin
