#include "dialogs/dlg_input.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "ui/headless/headless_backend.h"

namespace larkspin {
namespace {

constexpr int kEditField = 11004;
constexpr int kPromptText = 11005;
constexpr int kRememberBox = 1047;

class DlgInputTest : public ::testing::Test {
 protected:
  testing::TempFolder folder;
  CHeadlessBackend backend;
  CScopedUiBackend installed{backend};
};

TEST_F(DlgInputTest, OkHandsOverTheTypedTextAndTheRememberBox) {
  CDlgInput dialog(nullptr, folder.File("language.ini"));
  dialog.SetCaption("POP3 Account (home)");
  dialog.SetPrompt("Please enter your POP3 login name:");
  dialog.SetInitialText("ann");
  backend.QueueModalScript([](CHeadlessWindow& window) {
    EXPECT_EQ(window.Title(), "POP3 Account (home)");
    EXPECT_EQ(window.Text(kPromptText), "Please enter your POP3 login name:");
    EXPECT_EQ(window.Text(kEditField), "ann");
    EXPECT_EQ(window.Text(kRememberBox), "Remember") << "no language file: the default label";
    EXPECT_TRUE(window.IsControlShown(kRememberBox));
    EXPECT_FALSE(window.Control(kEditField)->password);
    window.Type(kEditField, "ann.smith");
    window.Click(kRememberBox);
    window.Click(kIdOk);
  });
  EXPECT_EQ(dialog.DoModal(), kIdOk);
  EXPECT_EQ(dialog.Result(), "ann.smith");
  EXPECT_TRUE(dialog.Remember());
}

TEST_F(DlgInputTest, CancelAndEscapeGiveAnEmptyResultAndKeepTheRememberState) {
  CDlgInput dialog(nullptr, folder.File("language.ini"));
  dialog.SetRemember(true);
  backend.QueueModalScript([](CHeadlessWindow& window) {
    window.Type(kEditField, "typed");
    window.Click(kRememberBox);
    window.Click(kIdCancel);
  });
  EXPECT_EQ(dialog.DoModal(), kIdCancel);
  EXPECT_EQ(dialog.Result(), "");
  EXPECT_TRUE(dialog.Remember());

  backend.QueueModalScript([](CHeadlessWindow& window) { window.Type(kEditField, "typed"); });
  EXPECT_EQ(dialog.DoModal(), kIdCancel) << "a script that presses nothing ends like Escape";
  EXPECT_EQ(dialog.Result(), "");
}

TEST_F(DlgInputTest, AnEmptyOkIsTheSameTextAsCancelButEndsWithOk) {
  CDlgInput dialog(nullptr, folder.File("language.ini"));
  backend.QueueModalScript([](CHeadlessWindow& window) { window.Click(kIdOk); });
  EXPECT_EQ(dialog.DoModal(), kIdOk);
  EXPECT_EQ(dialog.Result(), "");
}

TEST_F(DlgInputTest, AsAPromptItShowsPasswordsHiddenWithoutTheRememberBox) {
  testing::WriteFile(folder.File("language.ini"), "[Labels]\nRemember=Merken\n");
  CDlgInput dialog(nullptr, folder.File("language.ini"));
  CInputPrompt& prompt = dialog;
  InputRequest request;
  request.caption = "Larkspin password";
  request.prompt = "Please enter your Larkspin password:";
  request.password_style = true;
  request.show_remember = false;
  request.remember_preset = true;
  backend.QueueModalScript([](CHeadlessWindow& window) {
    EXPECT_TRUE(window.Control(kEditField)->password);
    EXPECT_FALSE(window.IsControlShown(kRememberBox));
    EXPECT_EQ(window.Text(kRememberBox), "Merken");
    EXPECT_TRUE(window.IsChecked(kRememberBox));
    window.Type(kEditField, "s3cret");
    window.Click(kIdOk);
  });
  InputAnswer answer;
  EXPECT_TRUE(prompt.Ask(request, answer));
  EXPECT_EQ(answer.text, "s3cret");
  EXPECT_TRUE(answer.remember);

  backend.QueueModalScript([](CHeadlessWindow& window) {
    EXPECT_EQ(window.Text(kEditField), "") << "a second question starts empty";
    window.PressEscape();
  });
  EXPECT_FALSE(prompt.Ask(request, answer));
  EXPECT_EQ(answer.text, "");
}

}  // namespace
}  // namespace larkspin
