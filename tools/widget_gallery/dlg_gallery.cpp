#include "widget_gallery/dlg_gallery.h"

#include "dialogs/dlg_input.h"
#include "res/control_ids.h"
#include "res/resources.h"
#include "widgets/rtf_stream.h"

namespace larkspin {

namespace {
constexpr int kAfterShownTimer = 1;
constexpr Colour kOversizeRed = Rgb(170, 10, 10);
}  // namespace

CDlgGallery::CDlgGallery() : CSizingDialog(kDialogGallery, nullptr) {
  SetRememberGeometry(false);
  AnchorControl(kGalleryList, kAnchorStretchRight);
  AnchorControl(kGalleryProgress, kAnchorStretchRight);
  AnchorControl(kGalleryRichText, kAnchorStretchRight | kAnchorStretchDown);
  AnchorControl(kGalleryInputButton, kAnchorMoveDown);
  AnchorControl(kIdCancel, kAnchorMoveRight | kAnchorMoveDown);
  Commands().OnCommand(kGalleryInputButton, [this] { AskForInput(); });
}

void CDlgGallery::AfterShown(int delay_ms, std::function<void()> work) {
  after_shown_delay_ = delay_ms;
  after_shown_ = std::move(work);
}

bool CDlgGallery::OnInitDialog() {
  CSizingDialog::OnInitDialog();
  SetIcon(kIconApplication);
  link_.SetLinkAddress(kProductWebAddress);
  link_.Attach(*this, kGalleryLink);
  list_.Attach(*this, kGalleryList);
  FillList();
  progress_.Attach(*this, kGalleryProgress);
  progress_.SetBarColours(Rgb(0, 0, 255), Rgb(0, 0, 255));
  progress_.SetShowText(true);
  progress_.SetPos(50);
  FillRichText();
  return true;
}

void CDlgGallery::OnShown() {
  if (after_shown_) SetTimer(kAfterShownTimer, after_shown_delay_);
}

void CDlgGallery::OnTimer(int id) {
  if (id != kAfterShownTimer) return;
  KillTimer(kAfterShownTimer);
  std::function<void()> work = std::move(after_shown_);
  after_shown_ = nullptr;
  if (work) work();
}

void CDlgGallery::FillList() {
  list_.AddColumn("From", kAlignLeft, 170);
  list_.AddColumn("Subject", kAlignLeft, 200);
  list_.AddColumn("Date", kAlignLeft, 140);
  list_.AddColumn("Size", kAlignRight, 60);
  list_.InsertRow({"Ann Smith", "Minutes of the meeting", "02.03.2004 10:11:12 +0100", "3k"}, 0,
                  kIconRowOnServer);
  list_.InsertRow({"Bob Jones", "Holiday photos, a subject far too long for its column", "01.03.2004 08:00:00 +0100",
                   "2048k"},
                  0, kIconRowStored);
  list_.InsertRow({"Carla Diaz", "Re: invoice", "28.02.2004 17:45:00 +0100", "12k"}, 0, kIconRowDeleteMark);
  list_.InsertRow({"Dan Wu", "Weekly report", "27.02.2004 09:30:00 +0100", "7k"}, 0, kIconRowDownloadMark);
  list_.SetRowTextColour(1, kOversizeRed);
  for (int row = 0; row < list_.RowCount(); ++row)
    list_.SetRowBackground(row, row % 2 == 0 ? Rgb(245, 245, 245) : Rgb(230, 230, 230));
  list_.SelectRow(2);
}

void CDlgGallery::FillRichText() {
  CRtfStream() << SetSize(20) << SetFont("DejaVu Sans") << ColorBlack
               << AppendText("Rich text: braces {} and a backslash \\ stay as they are.\n") << SaveAttributes
               << ColorBlue << AppendText("This line is blue, like a signature.") << SaveAttributes
               << FlushTo(*this, kGalleryRichText);
  ScrollToTop(kGalleryRichText);
}

void CDlgGallery::AskForInput() {
  CDlgInput input(this);
  input.SetCaption("Input");
  input.SetPrompt("Please enter your POP3 login name:");
  if (input.DoModal() == kIdOk) SetWindowText("Larkspin widget gallery - typed: " + input.Result());
}

}  // namespace larkspin
