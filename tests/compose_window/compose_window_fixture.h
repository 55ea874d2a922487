#pragma once
// A compose window on the headless backend in a temporary working folder whose two accounts
// send to a fake SMTP server: "Home" (account 1, login stored) and "Work" (account 2, none).
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "compose_window/dlg_send.h"
#include "config/current_account.h"
#include "support/fake_smtp_server.h"
#include "support/temp_folder.h"
#include "ui/headless/headless_backend.h"

namespace larkspin::test_support {

// Answers every login question with the next scripted text; records the captions asked.
class ScriptedPrompt : public CInputPrompt {
 public:
  bool Ask(const InputRequest& request, InputAnswer& answer) override;
  std::vector<std::string> captions;
  std::deque<std::string> answers;
};

// The main window's side, on a current account of its own.
class FakeComposeHost : public CComposeHost {
 public:
  int CurrentAccountNumber() const override { return account.account_number; }
  std::string CurrentDisplayName() const override { return account.display_name; }
  int TimeoutSeconds() const override { return 5; }
  TextEncoding TextEncodingOfTexts() const override { return encoding; }
  void LoadAccountRecord(int account_number, AccountRecord& record) override;
  void OpenInEditor(const std::string& file) override { edited.push_back(file); }

  ScriptedPrompt prompt;
  CCurrentAccount account{prompt};
  std::vector<int> loads;
  std::vector<std::string> edited;
  TextEncoding encoding = TextEncoding::kClassic;
};

class ComposeWindowTest : public ::testing::Test {
 protected:
  ComposeWindowTest();
  ~ComposeWindowTest() override;

  // Opens the window with to and subject, runs script as the user, then presses Close unless
  // the script ended the window.
  void Compose(const std::function<void(CHeadlessWindow&)>& script, const std::string& to = "",
               const std::string& subject = "", ComposeMode mode = kComposeNew,
               const std::string& initial_text = "");
  // Opens the window on the draft file at path, then as Compose.
  void ComposeDraft(const std::string& path, const std::function<void(CHeadlessWindow&)>& script);
  std::vector<std::string> MessageBoxTexts() const;
  // The SMTP commands of the server's conversations after EHLO and AUTH.
  std::vector<std::string> Envelope() const;
  std::string LogText() const { return ReadFile(folder_.File("larkspin.log")); }

  void Run(CDlgSend& dialog, const std::function<void(CHeadlessWindow&)>& script);

  TempFolder folder_;
  ScopedWorkingDirectory here_{folder_.Path()};
  FakeSmtpServer server_;
  CHeadlessBackend backend_;
  CScopedUiBackend installed_{backend_};
  FakeComposeHost host_;
  // Read inside scripts, before the window closes.
  bool had_connection_ = false;
};

}  // namespace larkspin::test_support
