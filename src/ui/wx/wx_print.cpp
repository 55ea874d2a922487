#include "ui/wx/wx_print.h"

#include <wx/dc.h>
#include <wx/generic/printps.h>
#include <wx/print.h>

#include <algorithm>

#include "ui/print.h"
#include "ui/wx/wx_text.h"

namespace larkspin {

namespace {

// The page loop of a print without a dialog runs up to this page or the document's last one.
constexpr int kLastPossiblePage = 1 << 30;

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
    font_height_ = height_pixels;
  }
  int TextWidth(std::string_view text) const override { return dc_.GetTextExtent(ToWx(std::string(text))).x; }
  // The opaque box DrawText paints behind a line is as high as the text's extent, which a printer
  // DC may report larger than its character height: lines closer than the box erase each other.
  int LineHeight() const override {
    return std::max({dc_.GetCharHeight(), dc_.GetTextExtent("Hg").y, font_height_, 1});
  }
  void DrawText(int x, int y, std::string_view text) override { dc_.DrawText(ToWx(std::string(text)), x, y); }

 private:
  wxDC& dc_;
  int pixels_per_inch_;
  int font_height_ = 0;
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

PrintOutcome PrintToPostScriptFile(CPrintDocument& document, const std::string& path) {
  wxPrintData print_data;
  print_data.SetPrintMode(wxPRINT_MODE_FILE);
  print_data.SetFilename(wxString::FromUTF8(path));
  wxPrintDialogData data(print_data);
  data.SetAllPages(true);
  data.SetFromPage(1);
  data.SetToPage(kLastPossiblePage);
  wxPostScriptPrinter printer(&data);
  CWxPrintout printout(document);
  if (printer.Print(nullptr, &printout, false)) return PrintOutcome::kPrinted;
  return wxPrinter::GetLastError() == wxPRINTER_ERROR ? PrintOutcome::kFailed : PrintOutcome::kCancelled;
}

}  // namespace larkspin
