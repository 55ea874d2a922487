// Sending a mail with a large attachment through the compose window (CDlgSend on the headless
// backend: fields typed, Send pressed, the success box answered) next to "larkspin send" (the
// outgoing engine alone), both to the same npm smtp-server in the same run.
//
//   larkspin-bench-compose-send [--runs N] [--attachment-mb N]
//
// Each run starts one process per client, alternating, and measures its wall time from start to
// exit and its peak resident memory (ru_maxrss); every message is checked to have arrived.
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_figures.h"
#include "send_bench_folder.h"
#include "common/format.h"
#include "common/message_box.h"
#include "compose_window/dlg_send.h"
#include "config/current_account.h"
#include "res/control_ids.h"
#include "support/npm_smtp_server.h"
#include "support/temp_folder.h"
#include "ui/headless/headless_backend.h"

namespace larkspin {
namespace {

const char* const kWindowMode = "--through-window";

struct Options {
  int runs = 5;
  int attachment_mb = 20;
};

// The main window's part for a compose window of its own: account 1 with stored credentials.
class CBenchHost : public CComposeHost, private CInputPrompt {
 public:
  int CurrentAccountNumber() const override { return 1; }
  std::string CurrentDisplayName() const override { return "Bench"; }
  int TimeoutSeconds() const override { return 120; }
  TextEncoding TextEncodingOfTexts() const override { return TextEncoding::kClassic; }
  void LoadAccountRecord(int account_number, AccountRecord& record) override {
    account_.LoadAccountRecord(account_number, record, PeekScope::kOneAccount);
  }
  void OpenInEditor(const std::string&) override {}

 private:
  bool Ask(const InputRequest&, InputAnswer&) override { return false; }
  CCurrentAccount account_{*this};
};

// The child process: one Send through the window in folder; 0 when the success box came.
int SendThroughWindow(const std::string& folder) {
  test_support::ScopedWorkingDirectory here(folder);
  CHeadlessBackend backend;
  CScopedUiBackend installed(backend);
  CBenchHost host;
  bool sent = false;
  backend.QueueModalScript([&](CHeadlessWindow& window) {
    window.Type(kSendToField, "bob@example.org");
    window.Type(kSendSubjectField, "Send benchmark");
    window.Type(kSendAttachField, "attachment.bin");
    window.Type(kSendMessageText, test_support::ReadFile("text.txt"));
    window.Click(kSendButton);
    sent = backend.MessageBoxes().size() == 1 && backend.MessageBoxes()[0].style == kBoxIconInformation;
    window.Click(kSendCloseButton);
  });
  CDlgSend dialog(host, nullptr, "", "");
  dialog.DoModal();
  return sent ? 0 : 1;
}

int RunBenchmark(const Options& options, const char* self) {
  test_support::NpmSmtpServer server(bench::kSendUser, bench::kSendPassword);
  server.Start();
  test_support::TempFolder folder;
  bench::WriteSendWorkingFolder(folder, server.Port(), options.attachment_mb);
  const std::string engine = FormatText(
      "cd '%s' && exec '%s' send --account 1 --to bob@example.org --subject 'Send benchmark' "
      "--attach attachment.bin < text.txt",
      folder.Path().c_str(), LARKSPIN_EXECUTABLE);
  std::vector<bench::SendSample> engine_runs;
  std::vector<bench::SendSample> window_runs;
  for (int run = 0; run < options.runs; ++run) {
    engine_runs.push_back(bench::MeasureSend({"sh", "-c", engine}, folder.File("engine.out")));
    window_runs.push_back(bench::MeasureSend({self, kWindowMode, folder.Path()}, folder.File("window.out")));
  }
  if (!server.WaitForMessages(static_cast<size_t>(options.runs) * 2, 10000))
    throw std::runtime_error("the server did not store every message");
  std::printf("Sending one mail with a %d MiB attachment to npm smtp-server, %d runs each\n", options.attachment_mb,
              options.runs);
  bench::PrintSendHeading();
  bench::PrintSendRow("larkspin send (engine)", engine_runs, options.attachment_mb);
  bench::PrintSendRow("CDlgSend, headless window", window_runs, options.attachment_mb);
  return 0;
}

}  // namespace
}  // namespace larkspin

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], larkspin::kWindowMode) == 0) return larkspin::SendThroughWindow(argv[2]);
  larkspin::Options options;
  return larkspin::bench::RunBenchmarkMain(argc, argv, {{"--runs", &options.runs}, {"--attachment-mb", &options.attachment_mb}},
                                           [&] { return larkspin::RunBenchmark(options, argv[0]); });
}
