// Downloading the message of one row on the calling thread's session: the row's record is copied
// into the order (its file id names the message file), and the result comes back through
// OnDownloadResult.
#include "main_window/dlg_main.h"

namespace larkspin {

int CDlgMain::DownloadRow(int position, bool skip_check) {
  const HeaderRow* record = RowRecord(position);
  if (!record) return kDownloadSkipped;
  DownloadOrder order;
  order.row = *record;
  order.account_number = account_.account_number;
  order.skip_check = skip_check;
  return session_.Download(order, *this);
}

// The rows marked for download, in list order. A row's record is the one its offset points
// back to, as the peek that listed it counted.
std::vector<DownloadOrder> CDlgMain::DownloadOrders() const {
  std::vector<DownloadOrder> orders;
  for (int position = 0; position < list_.RowCount(); ++position) {
    const HeaderRow* marked = RowRecord(position);
    if (!marked || !marked->download_mark) continue;
    const int target = position - marked->row_offset;
    const HeaderRow* record = RowRecord(target);
    if (!record) continue;
    DownloadOrder order;
    order.row = *record;
    order.skip_check = true;
    orders.push_back(order);
  }
  return orders;
}

}  // namespace larkspin
