// The preview pane under the header list: the first PreviewLines lines of the selected Online
// row's message, fetched with TOP over the open connection or a short one of its own, and the
// attachments that begin within them. Nothing is stored. While it fetches the window takes no
// input, so no peek or Disconnect can start on the same connection meanwhile; while a peek runs
// it waits for the peek's end. The pane can be hidden (View > Preview, remembered in the
// profile) and shows nothing while the screen is locked.
#include "common/format.h"
#include "main_window/dlg_main.h"
#include "peek/preview_fetch.h"
#include "res/resources.h"
#include "ui/backend.h"
#include "ui/window_peer.h"

namespace larkspin {

namespace {
constexpr const char* kPreviewShownKey = "preview";
constexpr const char* kPreviewAfterPeek = "The preview shows when the peek has ended.";

std::string PaneText(const PreviewResult& result) {
  if (!result.fetched) return "No preview: " + result.failure;
  std::string text = result.preview.text;
  for (const PreviewAttachment& attachment : result.preview.attachments)
    text += FormatText("\r\n[%s, %s]", attachment.name.c_str(), attachment.type.c_str());
  return text;
}
}  // namespace

void CDlgMain::SetUpPreviewPane() {
  preview_gap_ = ItemRect(kPreviewPane).top - ItemRect(kHeaderList).bottom;
  ShowPreviewPane(Profile().GetInt(kMainWindowSection, kPreviewShownKey, 1) != 0);
}

void CDlgMain::ShowPreviewPane(bool shown) {
  CheckMenuItem(kCommandPreview, shown);
  Profile().WriteInt(kMainWindowSection, kPreviewShownKey, shown ? 1 : 0);
  // The list takes the pane's room while it is hidden.
  Rect list = ItemRect(kHeaderList);
  const Rect pane = ItemRect(kPreviewPane);
  list.bottom = shown ? pane.top - preview_gap_ : pane.bottom;
  MoveItem(kHeaderList, list);
  ShowItem(kPreviewPane, shown && !IsMenuItemChecked(kCommandLockScreen));
  if (shown) ShowPreview();
}

void CDlgMain::ShowPreview() {
  if (!IsItemVisible(kPreviewPane)) return;
  const std::vector<int> selected = list_.SelectedRows();
  const HeaderRow* row = selected.size() == 1 ? RowRecord(selected.front()) : nullptr;
  if (folder_view_ != MailboxView::kOnline || !row) return SetItemText(kPreviewPane, "");
  if (model_.PeekRuns()) return SetItemText(kPreviewPane, kPreviewAfterPeek);
  PreviewResult result;
  const HeaderRow listed = *row;
  CWaitCursor wait;
  UiBackend().RunWhileResponsive(Peer(), [&] { result = FetchPreview(session_, account_, listed, preview_lines_); });
  SetItemText(kPreviewPane, PaneText(result));
}

}  // namespace larkspin
