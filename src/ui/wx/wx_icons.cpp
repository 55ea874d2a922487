#include "ui/wx/wx_icons.h"

#include <wx/artprov.h>
#include <wx/dcmemory.h>

#include "res/resources.h"

namespace larkspin {

namespace {

struct IconLook {
  int id;
  const char* art;
  unsigned char red, green, blue;  // the stand-in's colour
  char letter;
};

constexpr IconLook kIconLooks[] = {
    {kIconApplication, wxART_INFORMATION, 60, 90, 200, 'L'},
    {kIconReset, wxART_UNDO, 120, 120, 120, 'R'},
    {kIconForward, wxART_GO_FORWARD, 40, 140, 60, 'F'},
    {kIconReplyTo, wxART_GO_BACK, 40, 140, 60, 'A'},
    {kIconCompose, wxART_NEW, 60, 90, 200, 'N'},
    {kIconDelete, wxART_DELETE, 200, 40, 40, 'X'},
    {kIconDownload, wxART_GO_DOWN, 40, 100, 200, 'D'},
    {kIconRowDeleteMark, wxART_CROSS_MARK, 200, 40, 40, 'X'},
    {kIconRowOnServer, wxART_HELP_PAGE, 90, 90, 160, 'S'},
    {kIconRowStored, wxART_HARDDISK, 40, 140, 60, 'L'},
    {kIconDisconnect, wxART_QUIT, 160, 60, 40, 'Q'},
    {kIconRowDownloadMark, wxART_GO_DOWN, 40, 100, 200, 'D'},
    {kIconConnect, wxART_GO_UP, 40, 140, 60, 'C'},
    {kIconRowDownloadedAutomatically, wxART_TICK_MARK, 40, 140, 60, 'A'},
    {kIconAttachment, wxART_NORMAL_FILE, 120, 120, 120, 'F'},
};

const IconLook* LookOf(int icon_id) {
  for (const IconLook& look : kIconLooks)
    if (look.id == icon_id) return &look;
  return nullptr;
}

wxBitmap StandIn(const IconLook& look, int size) {
  wxBitmap bitmap(size, size);
  wxMemoryDC dc(bitmap);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  dc.SetBrush(wxBrush(wxColour(look.red, look.green, look.blue)));
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.DrawRoundedRectangle(1, 1, size - 2, size - 2, size / 5.0);
  dc.SetTextForeground(*wxWHITE);
  wxFont font = dc.GetFont();
  font.SetPixelSize(wxSize(0, size * 2 / 3));
  font.MakeBold();
  dc.SetFont(font);
  const wxString letter(look.letter);
  const wxSize extent = dc.GetTextExtent(letter);
  dc.DrawText(letter, (size - extent.x) / 2, (size - extent.y) / 2);
  dc.SelectObject(wxNullBitmap);
  return bitmap;
}

}  // namespace

wxBitmap IconBitmap(int icon_id, int size) {
  const IconLook* look = LookOf(icon_id);
  if (!look) return wxNullBitmap;
  const wxBitmap themed = wxArtProvider::GetBitmap(look->art, wxART_OTHER, wxSize(size, size));
  return themed.IsOk() ? themed : StandIn(*look, size);
}

wxIcon WindowIcon(int icon_id) {
  wxIcon icon;
  const wxBitmap bitmap = IconBitmap(icon_id, 32);
  if (bitmap.IsOk()) icon.CopyFromBitmap(bitmap);
  return icon;
}

}  // namespace larkspin
