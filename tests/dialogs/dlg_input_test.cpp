#include "dialogs/dlg_input.h"

#include <gtest/gtest.h>

#include "res/control_ids.h"
#include "support/temp_folder.h"
#include "ui/headless/headless_backend.h"

namespace larkspin {
namespace {


class DlgInputTest : public ::testing::Test {
 protected:
  test_support::TempFolder folder;
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
    EXPECT_EQ(window.Text(kInputPrompt), "Please enter your POP3 login name:");
    EXPECT_EQ(window.Text(kInputField), "ann");
    EXPECT_EQ(window.Text(kInputRememberBox), "Remember") << "no language file: the default label";
    EXPECT_TRUE(window.IsControlShown(kInputRememberBox));
    EXPECT_FALSE(window.Control(kInputField)->password);
    window.Type(kInputField, "ann.smith");
    window.Click(kInputRememberBox);
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
    window.Type(kInputField, "typed");
    window.Click(kInputRememberBox);
    window.Click(kIdCancel);
  });
  EXPECT_EQ(dialog.DoModal(), kIdCancel);
  EXPECT_EQ(dialog.Result(), "");
  EXPECT_TRUE(dialog.Remember());

  backend.QueueModalScript([](CHeadlessWindow& window) { window.Type(kInputField, "typed"); });
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
  test_support::WriteFile(folder.File("language.ini"), "[Labels]\nRemember=Merken\n");
  CDlgInput dialog(nullptr, folder.File("language.ini"));
  CInputPrompt& prompt = dialog;
  InputRequest request;
  request.caption = "Larkspin password";
  request.prompt = "Please enter your Larkspin password:";
  request.password_style = true;
  request.show_remember = false;
  request.remember_preset = true;
  backend.QueueModalScript([](CHeadlessWindow& window) {
    EXPECT_TRUE(window.Control(kInputField)->password);
    EXPECT_FALSE(window.IsControlShown(kInputRememberBox));
    EXPECT_EQ(window.Text(kInputRememberBox), "Merken");
    EXPECT_TRUE(window.IsChecked(kInputRememberBox));
    window.Type(kInputField, "s3cret");
    window.Click(kIdOk);
  });
  InputAnswer answer;
  EXPECT_TRUE(prompt.Ask(request, answer));
  EXPECT_EQ(answer.text, "s3cret");
  EXPECT_TRUE(answer.remember);

  backend.QueueModalScript([](CHeadlessWindow& window) {
    EXPECT_EQ(window.Text(kInputField), "") << "a second question starts empty";
    window.PressEscape();
  });
  EXPECT_FALSE(prompt.Ask(request, answer));
  EXPECT_EQ(answer.text, "");
}

}  // namespace
}  // namespace larkspin
