// Real windows under Xvfb: the input dialog and the widget gallery built from their templates by
// the wx backend, driven through the toolkit's own controls.
#include <gtest/gtest.h>

#include <wx/image.h>

#include <thread>

#include "dialogs/dlg_input.h"
#include "res/control_ids.h"
#include "res/resources.h"
#include "ui/wx/wx_backend.h"
#include "ui/wx/wx_text.h"
#include "ui/wx/wx_window.h"
#include "widget_gallery/dlg_gallery.h"

namespace larkspin {
namespace {


TEST(WxTextTest, BytesAreShownAsUtf8WhenValidElseAsWindows1252) {
  EXPECT_EQ(ToWx("Gr\xC3\xBC\xC3\x9F"), wxString::FromUTF8("Gr\xC3\xBC\xC3\x9F"));
  EXPECT_EQ(ToWx("Gr\xFC\xDF \x80"), wxString::FromUTF8("Gr\xC3\xBC\xC3\x9F \xE2\x82\xAC"));
  EXPECT_EQ(FromWx(wxString::FromUTF8("\xC3\xA4 \xE2\x82\xAC \xE2\x98\x83")), "\xE4 \x80 ?");
  EXPECT_EQ(PathFromWx(wxString::FromUTF8("/tmp/\xC3\xA4.txt")), "/tmp/\xC3\xA4.txt");
}

// A window that ends during its initialisation never shows.
class CSelfEndingInput : public CDlgInput {
 public:
  CSelfEndingInput() : CDlgInput(nullptr, "no-language-file.ini") {}

 protected:
  bool OnInitDialog() override {
    CDlgInput::OnInitDialog();
    EndDialog(kIdCancel);
    return true;
  }
};

TEST(WxSmokeTest, ADialogEndedDuringInitialisationReturnsAtOnce) {
  CSelfEndingInput input;
  EXPECT_EQ(input.DoModal(), kIdCancel);
}

TEST(WxSmokeTest, InputDialogTakesTypedTextAndOk) {
  CDlgInput input(nullptr, "no-language-file.ini");
  input.SetCaption("POP3 Password (home)");
  input.SetPrompt("Please enter your POP3 password:");
  input.SetPasswordStyle(true);
  input.SetShowRemember(false);
  bool looked = false;
  CWxBackend::WhenIdle([&] {
    CWxWindow* window = CWxBackend::WindowOf(input);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Title(), "POP3 Password (home)");
    EXPECT_EQ(window->ClientSize(), (Size{372, 183})) << "186 by 86 dialog units in the default font";
    EXPECT_FALSE(window->IsControlShown(kInputRememberBox));
    EXPECT_TRUE(window->ControlWindow(kInputField)->HasFlag(wxTE_PASSWORD));
    CWxBackend::TypeText(input, kInputField, "s\xE9" "cret");
    looked = true;
    CWxBackend::PressButton(input, kIdOk);
  });
  EXPECT_EQ(input.DoModal(), kIdOk);
  EXPECT_TRUE(looked);
  EXPECT_EQ(input.Result(), "s\xE9" "cret") << "typed text comes back in Windows-1252";
}

TEST(WxSmokeTest, EscapeCancelsTheInputDialog) {
  CDlgInput input(nullptr, "no-language-file.ini");
  CWxBackend::WhenIdle([&] {
    CWxBackend::TypeText(input, kInputField, "typed");
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    CWxBackend::WindowOf(input)->OnCharHook(escape);
  });
  EXPECT_EQ(input.DoModal(), kIdCancel);
  EXPECT_EQ(input.Result(), "");
}

TEST(WxSmokeTest, WorkerThreadsReachAModalWindowThroughTheUiThread) {
  CDlgInput input(nullptr, "no-language-file.ini");
  std::thread worker;
  CWxBackend::WhenIdle([&] {
    worker = std::thread([&] {
      RunOnUiThread([&] { input.SetItemText(kInputField, "from the worker"); });
      RunOnUiThread([&] { input.HandleCommand(kIdOk); });
    });
  });
  EXPECT_EQ(input.DoModal(), kIdOk);
  worker.join();
  EXPECT_EQ(input.Result(), "from the worker");
}

TEST(WxSmokeTest, GalleryIsDrawnAndPhotographed) {
  const std::string path = std::string(LARKSPIN_SCREENSHOT_DIR) + "/gallery.png";
  std::remove(path.c_str());
  CDlgGallery gallery;
  Rect bar;
  bool saved = false;
  gallery.AfterShown(500, [&] {
    bar = gallery.ItemRect(kGalleryProgress);
    saved = CWxBackend::SaveScreenshot(gallery, path);
    gallery.EndDialog(kIdOk);
  });
  EXPECT_EQ(gallery.DoModal(), kIdOk);
  ASSERT_TRUE(saved);
  wxImage picture;
  ASSERT_TRUE(picture.LoadFile(path, wxBITMAP_TYPE_PNG));
  const int y = (bar.top + bar.bottom) / 2;
  const int filled_x = bar.left + bar.Width() / 8;
  const int empty_x = bar.left + bar.Width() * 7 / 8;
  EXPECT_EQ(picture.GetRed(filled_x, y), 0);
  EXPECT_EQ(picture.GetBlue(filled_x, y), 255) << "the first half of the bar is blue";
  EXPECT_NE(picture.GetBlue(empty_x, y), 255) << "the second half is not";
}

// The main window's template with its menu: the menu strip sits above the client area, which
// keeps the template's size.
class CMainTemplateWindow : public CDialog {
 public:
  CMainTemplateWindow() : CDialog(kDialogMain, nullptr) {}

 protected:
  bool OnInitDialog() override {
    SetMenu(kMenuMain);
    SetIcon(kIconApplication);
    AddComboEntry(kFolderSelector, "Online");
    SelectComboEntry(kFolderSelector, 0);
    SetItemText(kStatusLine, "Ready: 5 min. until 1. larkspin");
    return true;
  }
};

TEST(WxSmokeTest, MainWindowTemplateOpensWithItsMenu) {
  CMainTemplateWindow window;
  bool saved = false;
  CWxBackend::WhenIdle([&] {
    EXPECT_EQ(window.ClientSize(), (Size{948, 597}));
    EXPECT_TRUE(window.IsMenuItemChecked(kCommandOnline));
    EXPECT_EQ(window.ItemText(kFolderSelector), "Online");
    EXPECT_FALSE(window.IsItemEnabled(kDisconnectButton));
    saved = CWxBackend::SaveScreenshot(window, std::string(LARKSPIN_SCREENSHOT_DIR) + "/main_window_template.png");
    window.EndDialog(kIdOk);
  });
  EXPECT_EQ(window.DoModal(), kIdOk);
  EXPECT_TRUE(saved);
}

// The compose window's template at the toolkit's font: every label shares its field's middle, and
// the priority box is wide enough for its longest entry beside the toolkit's arrow.
class CSendTemplateWindow : public CDialog {
 public:
  CSendTemplateWindow() : CDialog(kDialogSend, nullptr) {}

 protected:
  bool OnInitDialog() override {
    for (const char* entry : {"High", "Normal", "Low"}) AddComboEntry(kSendPrioritySelector, entry);
    SelectComboEntry(kSendPrioritySelector, 1);
    return true;
  }
};

TEST(WxSmokeTest, SendWindowLabelsSitBesideTheirFieldsAndThePriorityIsNotCut) {
  CSendTemplateWindow window;
  CWxBackend::WhenIdle([&] {
    const auto middle = [&](int id) {
      const Rect rect = window.ItemRect(id);
      return (rect.top + rect.bottom) / 2;
    };
    for (const auto& [label, field] : std::vector<std::pair<int, int>>{{kSendIdentityLabel, kSendIdentitySelector},
                                                                       {kSendToLabel, kSendToField},
                                                                       {kSendCcLabel, kSendCcField},
                                                                       {kSendBccLabel, kSendBccField},
                                                                       {kSendAttachLabel, kSendAttachField},
                                                                       {kSendSubjectLabel, kSendSubjectField},
                                                                       {kSendPriorityLabel, kSendPrioritySelector}})
      EXPECT_NEAR(middle(label), middle(field), 1) << "label " << label;
    const wxWindow* priority = CWxBackend::WindowOf(window)->ControlWindow(kSendPrioritySelector);
    EXPECT_GE(priority->GetSize().x, priority->GetBestSize().x);
    CWxBackend::SaveScreenshot(window, std::string(LARKSPIN_SCREENSHOT_DIR) + "/compose_window_template.png");
    window.EndDialog(kIdOk);
  });
  EXPECT_EQ(window.DoModal(), kIdOk);
}

}  // namespace
}  // namespace larkspin

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return larkspin::RunWithWxBackend(argc, argv, [] {
    wxInitAllImageHandlers();
    return RUN_ALL_TESTS();
  });
}
