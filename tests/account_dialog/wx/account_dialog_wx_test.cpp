// The account dialog in the real toolkit under Xvfb: a main window started without any account
// opens it by itself; Alt+T runs Test on the empty form, Escape closes it, and Exit ends the
// program. Standard error must hold no Gtk-CRITICAL or Gtk-WARNING line. An OAuth account shows
// its provider's fields, none overlapping another or cut. Screenshots: account_dialog.png and
// account_dialog_oauth.png in the build folder.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include <wx/window.h>

#include "account_dialog/dlg_account.h"
#include "main_window/dlg_main.h"
#include "main_window/wx/window_test_helpers.h"
#include "res/control_ids.h"
#include "res/resources.h"
#include "support/temp_folder.h"
#include "ui/backend.h"
#include "ui/wx/wx_backend.h"
#include "ui/wx/wx_window.h"

namespace larkspin {
namespace {

using test_support::WaitOnUi;

bool Shell(const std::string& command) { return std::system(("timeout 10 " + command + " >/dev/null 2>&1").c_str()) == 0; }

// Standard error into a file for the test's lifetime, so the toolkit's warnings can be read.
class CapturedStandardError {
 public:
  explicit CapturedStandardError(const std::string& path) : path_(path), saved_(::dup(2)) {
    std::fflush(stderr);
    std::freopen(path.c_str(), "w", stderr);
  }
  std::string Finish() {
    std::fflush(stderr);
    ::dup2(saved_, 2);
    return test_support::ReadFile(path_);
  }

 private:
  std::string path_;
  int saved_;
};

TEST(AccountDialogWxTest, OpensByItselfWithoutAccountsTestsAndCloses) {
  test_support::TempFolder folder;
  test_support::ScopedWorkingDirectory here(folder.Path());
  const CProfileStore profile(folder.File("profile.ini"));
  profile.WriteString("66", "pw", "");
  profile.WriteString("66", "info", LoadResourceString(102));
  test_support::CSilentSound sound;
  MainWindowServices services;
  services.profile = profile;
  services.sound = &sound;

  CapturedStandardError errors(folder.File("stderr.txt"));
  CDlgMain window(services);
  bool dialog_shown = false;
  bool photographed = false;
  bool dialog_closed = false;
  std::thread user([&] {
    dialog_shown = Shell("xdotool search --sync --onlyvisible --name '^Accounts$' windowfocus --sync");
    if (dialog_shown) {
      Shell("xdotool key --delay 100 alt+t");
      std::this_thread::sleep_for(std::chrono::milliseconds(700));
      photographed = Shell("import -window root '" + std::string(LARKSPIN_SCREENSHOT_DIR) + "/account_dialog.png'");
      Shell("xdotool key Escape");
      dialog_closed = WaitOnUi([] { return !Shell("xdotool search --onlyvisible --name '^Accounts$'"); },
                               std::chrono::seconds(10));
      // Else the focus was lost: close it all the same, so that Exit can end the program.
      if (!dialog_closed) Shell("xdotool search --onlyvisible --name '^Accounts$' windowfocus --sync key Escape");
    }
    RunOnUiThread([&] { window.HandleCommand(kCommandExit); });
  });
  window.DoModal();
  user.join();
  const std::string standard_error = errors.Finish();

  EXPECT_TRUE(dialog_shown);
  EXPECT_TRUE(photographed);
  EXPECT_TRUE(dialog_closed);
  EXPECT_EQ(standard_error.find("Gtk-CRITICAL"), std::string::npos) << standard_error;
  EXPECT_EQ(standard_error.find("Gtk-WARNING"), std::string::npos) << standard_error;
}

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(AccountDialogWxTest, AnOAuthAccountShowsItsFieldsNeitherOverlappingNorCut) {
  test_support::TempFolder folder;
  test_support::ScopedWorkingDirectory here(folder.Path());
  test_support::WriteFile("config.ini",
                          "[System]\nAccounts=1\n[Users]\nAccount1=Work\n[Account1]\nPOP3Host=outlook.office365.com\n"
                          "POP3Port=995\nPOP3Security=SSL\nMailAddress=anna@example.org\nSMTPHost=smtp.office365.com\n"
                          "SMTPPort=587\nSMTPSecurity=STARTTLS\nAuthentication=OAuth2Method\nPOP3Auth=OAuth2\n"
                          "OAuthProvider=Custom\nOAuthClientId=9e5f94bc-e8a4-4e73-b8be-63364c29d753\n"
                          "OAuthAuthorizeURL=https://login.example.com/oauth2/v2.0/authorize\n"
                          "OAuthTokenURL=https://login.example.com/oauth2/v2.0/token\n"
                          "OAuthDeviceURL=https://login.example.com/oauth2/v2.0/devicecode\n"
                          "OAuthScopes=https://outlook.office.com/POP.AccessAsUser.All offline_access\n");
  CDlgAccount dialog(nullptr, 1);
  bool saved = false;
  CWxBackend::WhenIdle([&] {
    const Size client = dialog.ClientSize();
    const std::vector<ControlTemplate>& controls = FindDialogTemplate(kDialogAccount)->controls;
    for (size_t i = 0; i < controls.size(); ++i) {
      const Rect rect = dialog.ItemRect(controls[i].id);
      EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= client.width && rect.bottom <= client.height)
          << "control " << controls[i].id << " inside the window";
      for (size_t j = i + 1; j < controls.size(); ++j)
        EXPECT_FALSE(Overlap(rect, dialog.ItemRect(controls[j].id))) << controls[i].id << " and " << controls[j].id;
      const wxWindow* control = CWxBackend::WindowOf(dialog)->ControlWindow(controls[i].id);
      if (controls[i].kind != ControlKind::kEdit && controls[i].id != kAccountStatusLine) {
        EXPECT_GE(control->GetSize().x, control->GetBestSize().x) << "control " << controls[i].id << " is cut";
      }
    }
    EXPECT_TRUE(dialog.IsItemEnabled(kAccountOAuthTokenUrlField));
    EXPECT_FALSE(dialog.IsItemEnabled(kAccountPasswordField));
    saved = CWxBackend::SaveScreenshot(dialog, std::string(LARKSPIN_SCREENSHOT_DIR) + "/account_dialog_oauth.png");
    dialog.EndDialog(kIdCancel);
  });
  dialog.DoModal();
  EXPECT_TRUE(saved);
}

}  // namespace
}  // namespace larkspin

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return larkspin::RunWithWxBackend(argc, argv, [] { return RUN_ALL_TESTS(); });
}
