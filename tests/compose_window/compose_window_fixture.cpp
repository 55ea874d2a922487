#include "compose_window/compose_window_fixture.h"

#include "common/format.h"
#include "compose/draft_file.h"
#include "config/log.h"
#include "res/control_ids.h"
#include "support/test_config.h"

namespace larkspin::test_support {

namespace {
std::string SmtpAccount(int number, int port, const std::string& login) {
  return AccountSection(number, 0, login, "secret") +
         FormatText("SMTPHost=127.0.0.1\r\nSMTPPort=%d\r\nMailAddress=anna@example.org\r\n", port);
}
}  // namespace

bool ScriptedPrompt::Ask(const InputRequest& request, InputAnswer& answer) {
  captions.push_back(request.caption);
  if (answers.empty()) return false;
  answer.text = answers.front();
  answers.pop_front();
  return true;
}

void FakeComposeHost::LoadAccountRecord(int account_number, AccountRecord& record) {
  loads.push_back(account_number);
  account.LoadAccountRecord(account_number, record, PeekScope::kOneAccount);
}

ComposeWindowTest::ComposeWindowTest() {
  server_.AcceptMail();
  WriteFile(folder_.File("config.ini"),
            ConfigText("", {"Home", "Work"}, SmtpAccount(1, server_.Port(), "anna") + SmtpAccount(2, server_.Port(), "")));
  host_.account.LoadCurrentAccount("Account2");
  host_.account.LoadCurrentAccount("Account1");
  host_.account.display_name = "Home";
  OpenLog(folder_.File("larkspin.log"));
}

ComposeWindowTest::~ComposeWindowTest() { CloseLog(); }

void ComposeWindowTest::Compose(const std::function<void(CHeadlessWindow&)>& script, const std::string& to,
                                const std::string& subject, ComposeMode mode, const std::string& initial_text) {
  CDlgSend dialog(host_, nullptr, to, subject);
  if (!initial_text.empty()) dialog.SetInitialText(initial_text);
  dialog.SetMode(mode);
  Run(dialog, script);
}

void ComposeWindowTest::ComposeDraft(const std::string& path, const std::function<void(CHeadlessWindow&)>& script) {
  CDlgSend dialog(host_, nullptr, "", "");
  dialog.SetDraft(path, ReadDraft(ReadFile(path)));
  Run(dialog, script);
}

void ComposeWindowTest::Run(CDlgSend& dialog, const std::function<void(CHeadlessWindow&)>& script) {
  backend_.QueueModalScript([&](CHeadlessWindow& window) {
    script(window);
    had_connection_ = static_cast<CDlgSend&>(window.Dialog()).HasConnection();
    if (!window.HasEnded()) window.Click(kSendCloseButton);
  });
  dialog.DoModal();
}

std::vector<std::string> ComposeWindowTest::MessageBoxTexts() const {
  std::vector<std::string> texts;
  for (const ShownMessageBox& box : backend_.MessageBoxes()) texts.push_back(box.text);
  return texts;
}

std::vector<std::string> ComposeWindowTest::Envelope() const {
  std::vector<std::string> lines;
  for (const std::string& line : server_.ReceivedLines())
    if (line.starts_with("MAIL") || line.starts_with("RCPT") || line == "DATA") lines.push_back(line);
  return lines;
}

}  // namespace larkspin::test_support
