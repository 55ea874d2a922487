#include "ui/wx/wx_print.h"

#include <wx/dc.h>
#include <wx/print.h>

#include "ui/print.h"
#include "ui/wx/wx_text.h"

namespace larkspin {

namespace {

class CWxPrintCanvas : public CPrintCanvas {
 public:
  CWxPrintCanvas(wxDC& dc, int pixels_per_inch) : dc_(dc), pixels_per_inch_(pixels_per_inch) {}

  Size PageSize() const override {
    const wxSize size = dc_.GetSize();
    return {size.x, size.y};
  }
  int PixelsPerInchY() const override { return pixels_per_inch_; }
  void SetFont(const std::string& face, int height_pixels) override {
    wxFont font(wxFontInfo(wxSize(0, height_pixels)).FaceName(ToWx(face)).Family(wxFONTFAMILY_SWISS));
    dc_.SetFont(font);
    dc_.SetBackgroundMode(wxBRUSHSTYLE_SOLID);
  }
  int TextWidth(std::string_view text) const override { return dc_.GetTextExtent(ToWx(std::string(text))).x; }
  int LineHeight() const override { return dc_.GetCharHeight(); }
  void DrawText(int x, int y, std::string_view text) override { dc_.DrawText(ToWx(std::string(text)), x, y); }

 private:
  wxDC& dc_;
  int pixels_per_inch_;
};

class CWxPrintout : public wxPrintout {
 public:
  explicit CWxPrintout(CPrintDocument& document) : wxPrintout(""), document_(document) {}

  void OnPreparePrinting() override {
    CWxPrintCanvas canvas = Canvas();
    pages_ = document_.Paginate(canvas);
  }
  bool HasPage(int page) override { return page >= 1 && page <= pages_; }
  void GetPageInfo(int* min_page, int* max_page, int* from, int* to) override {
    *min_page = *from = 1;
    *max_page = *to = pages_;
  }
  bool OnPrintPage(int page) override {
    CWxPrintCanvas canvas = Canvas();
    document_.DrawPage(canvas, page - 1);
    return true;
  }

 private:
  // Device pixels, the whole printable area, no margins.
  CWxPrintCanvas Canvas() {
    MapScreenSizeToDevice();
    int ppi_x = 0, ppi_y = 0;
    GetPPIPrinter(&ppi_x, &ppi_y);
    return CWxPrintCanvas(*GetDC(), ppi_y > 0 ? ppi_y : 72);
  }

  CPrintDocument& document_;
  int pages_ = 1;
};

}  // namespace

PrintOutcome PrintWithDialog(wxWindow* parent, CPrintDocument& document) {
  wxPrintDialogData data;
  data.EnablePageNumbers(false);
  data.EnableSelection(false);
  data.EnablePrintToFile(false);
  data.SetAllPages(true);
  wxPrinter printer(&data);
  CWxPrintout printout(document);
  if (printer.Print(parent, &printout, true)) return PrintOutcome::kPrinted;
  return wxPrinter::GetLastError() == wxPRINTER_ERROR ? PrintOutcome::kFailed : PrintOutcome::kCancelled;
}

}  // namespace larkspin
