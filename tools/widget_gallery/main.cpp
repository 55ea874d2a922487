// larkspin-gallery [--screenshot FILE]: shows the widget gallery; with --screenshot it writes a
// picture of the window to FILE once it is drawn, and closes.
#include <cstdio>
#include <cstring>
#include <string>

#include "ui/wx/wx_backend.h"
#include "widget_gallery/dlg_gallery.h"

int main(int argc, char** argv) {
  std::string screenshot;
  if (argc == 3 && std::strcmp(argv[1], "--screenshot") == 0) screenshot = argv[2];
  else if (argc != 1) {
    std::fprintf(stderr, "usage: larkspin-gallery [--screenshot FILE]\n");
    return 2;
  }
  return larkspin::RunWithWxBackend(argc, argv, [&] {
    larkspin::CDlgGallery gallery;
    bool saved = true;
    if (!screenshot.empty()) {
      gallery.AfterShown(500, [&] {
        saved = larkspin::CWxBackend::SaveScreenshot(gallery, screenshot);
        gallery.EndDialog(larkspin::kIdOk);
      });
    }
    gallery.DoModal();
    return saved ? 0 : 1;
  });
}
