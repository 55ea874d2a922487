// DownloadMessage of the main window: the download engine on the calling thread (the peek
// worker's or the UI thread), the row's record, notices and icon on the UI thread. The engine
// works on a copy of the record, so that the UI thread never reads a record while another
// thread writes it; the copy's results go back into the row on the UI thread.
#include "common/message_box.h"
#include "peek/message_download.h"
#include "main_window/dlg_main.h"
#include "ui/backend.h"

namespace larkspin {

namespace {
constexpr int kDateColumn = 2;
}  // namespace

int CDlgMain::DownloadMessage(int position, bool skip_check, int icon) {
  HeaderRow* record = nullptr;
  HeaderRow copy;
  DownloadRequest request;
  OnUi([&] {
    record = RowRecord(position);
    if (record) copy = *record;
    request.date_column = list_.Text(position, kDateColumn);
  });
  if (!record || !copy.local_file.empty()) return kDownloadSkipped;
  request.row = &copy;
  request.account_number = account_.account_number;
  request.skip_check = skip_check;
  OnUi([] { UiBackend().BeginWaitCursor(); });
  const DownloadResult result = larkspin::DownloadMessage(client_, request);
  OnUi([&] {
    if (RowRecord(position) == record) {
      record->local_file = copy.local_file;
      record->attachments = copy.attachments;
    }
    for (const DownloadNotice& notice : result.notices) {
      if (notice.kind == DownloadNotice::Kind::kStatus) SetStatusText(notice.text);
      else MessageBox(notice.text, kBoxOk);
    }
    if (result.stored) SetRowIcon(position, icon);
    UiBackend().EndWaitCursor();
  });
  return result.code;
}

}  // namespace larkspin
