// A peek of many messages from a private Dovecot through the main window on the headless
// backend, with the product's own waits (10 ms before each header request). Reports the wall time
// of each peek, the floor those waits set, the overhead per message above it, and what the same
// peek costs per message without any wait. "--modern 1" peeks with Charsets=Modern (the
// header words decoded into UTF-8) instead of Classic, for comparing the two; "--uidl 1" with
// NewMailBy=Uidl (UIDL asked once, the seen-ids file read and written at every peek); "--fast 1"
// with FastPeek=1 (pipelined, no wait before each header); "--delay MS" through a proxy that
// delays each direction by MS, as a distant server is reached; "--accounts N" peeks All Accounts
// of N accounts with the given messages each, "--parallel P" of them at once (ParallelAccounts);
// "--download-all 1" with Download All on, every message downloaded (into an empty mailbox folder).
//
//   larkspin-bench-peek [--runs N] [--messages N] [--modern 1] [--uidl 1] [--fast 1] [--delay MS]
//                       [--accounts N] [--parallel P] [--download-all 1]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench_figures.h"
#include "common/format.h"
#include "common/scramble.h"
#include "main_window/dlg_main.h"
#include "res/resources.h"
#include "support/delay_proxy.h"
#include "support/dovecot_server.h"
#include "support/temp_folder.h"
#include "ui/headless/headless_backend.h"

namespace larkspin {
namespace {

using Clock = std::chrono::steady_clock;

struct Options {
  int runs = 5;
  int messages = 1000;
  int modern = 0;
  int uidl = 0;
  int fast = 0;
  int delay = 0;  // ms each way
  int accounts = 1;
  int parallel = 4;
  int download_all = 0;
};

class CSilentSound : public CSoundOutput {
 public:
  void PlayWaveFile(const std::string&) override {}
  void Tone(int, int) override {}
};

std::string Message(int i) {
  return FormatText("From: \"Sender %d\" <sender%d@example.org>\r\nTo: bench@example.org\r\n"
                    "Subject: =?ISO-8859-1?Q?Benchmark_message_=FC_%d?=\r\nDate: Mon, %d Mar 2026 10:%02d:00 +0100\r\n"
                    "Message-ID: <%d@example.org>\r\n\r\nBody of message %d.\r\n",
                    i, i, i, 1 + i % 28, i % 60, i, i);
}

// The message files of the mailbox folders.
int StoredMessageCount() {
  int count = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator("."))
    count += entry.path().filename().string().starts_with("msg");
  return count;
}

// One peek by Connect; the seconds from the click until the peek has ended.
double TimedPeek(CHeadlessBackend& backend, const PeekWaits& waits, int expected_rows, bool download_all) {
  for (int n = 1; download_all && std::filesystem::exists(FormatText("mailbox%d", n)); ++n)
    std::filesystem::remove_all(FormatText("mailbox%d", n));
  CSilentSound sound;
  MainWindowServices services;
  services.profile = CProfileStore("profile.ini");
  services.sound = &sound;
  services.waits = waits;
  CDlgMain window(services);
  window.Create();
  window.ShowWindow(true);
  if (download_all) window.HandleCommand(kCommandDownloadAll);
  const Clock::time_point start = Clock::now();
  backend.WindowOf(window)->Click(kConnectButton);
  backend.RunUntil([&] { return !window.PeekRunning(); }, std::chrono::minutes(5));
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (window.HeaderList().RowCount() != expected_rows)
    std::fprintf(stderr, "warning: %d rows instead of %d\n", window.HeaderList().RowCount(), expected_rows);
  if (download_all && StoredMessageCount() != expected_rows)
    std::fprintf(stderr, "warning: %d messages stored instead of %d\n", StoredMessageCount(), expected_rows);
  window.HandleCommand(kDisconnectButton);
  window.DestroyWindow();
  return seconds;
}

// Account n logs in as "bench<n>".
std::string AccountSections(const Options& options, int port) {
  std::string text = FormatText("[System]\r\nAccounts=%d\r\nPeekTime=0\r\nCharsets=%s\r\nNewMailBy=%s\r\nFastPeek=%d\r\n"
                                "ParallelAccounts=%d\r\n[Users]\r\n",
                                options.accounts, options.modern ? "Modern" : "Classic", options.uidl ? "Uidl" : "Count",
                                options.fast, options.parallel);
  for (int n = 1; n <= options.accounts; ++n) text += FormatText("Account%d=Bench %d\r\n", n, n);
  for (int n = 1; n <= options.accounts; ++n)
    text += FormatText("[Account%d]\r\nPOP3Host=127.0.0.1\r\nPOP3Port=%d\r\nPOP3Account=%s\r\nPOP3Password=%s\r\n", n,
                       port, Scrambled(FormatText("bench%d", n)).c_str(), Scrambled("bench-password").c_str());
  return text;
}

int Run(const Options& options) {
  test_support::DovecotServer server;
  for (int n = 1; n <= options.accounts; ++n) {
    const std::string user = FormatText("bench%d", n);
    server.AddUser(user, "bench-password");
    for (int i = 1; i <= options.messages; ++i) server.AddMessage(user, Message(i));
  }
  server.Start();
  std::optional<test_support::DelayProxy> proxy;
  if (options.delay > 0) proxy.emplace(server.Port(), options.delay);
  const int port = proxy ? proxy->Port() : server.Port();

  test_support::TempFolder folder;
  test_support::ScopedWorkingDirectory here(folder.Path());
  test_support::WriteFile("config.ini", AccountSections(options, port));
  const CProfileStore profile("profile.ini");
  profile.WriteString("66", "pw", "");
  profile.WriteString("66", "info", LoadResourceString(102));
  if (options.accounts > 1) profile.WriteInt("66", "account", options.accounts);  // "All Accounts"

  CHeadlessBackend backend;
  CScopedUiBackend installed(backend);
  const PeekWaits product_waits;
  // FastPeek leaves the wait before each header out; accounts side by side wait at the same time.
  const int at_once = std::max(1, options.parallel);
  const int rounds = (options.accounts + at_once - 1) / at_once;
  const int waited_headers = options.fast ? 0 : rounds * options.messages;
  const double floor = waited_headers * product_waits.before_header / 1000.0;
  const int rows = options.accounts * options.messages;
  std::printf("peek of %d account(s) of %d messages (%d at once) through the main window (headless), Dovecot on "
              "127.0.0.1 with %d ms each way, Charsets=%s, NewMailBy=%s, FastPeek=%d%s\n",
              options.accounts, options.messages, std::min(options.accounts, options.parallel), options.delay,
              options.modern ? "Modern" : "Classic", options.uidl ? "Uidl" : "Count", options.fast,
              options.download_all ? ", Download All" : "");
  if (!options.fast)
    std::printf("floor: %d x %d ms before each header = %.3f s\n", waited_headers, product_waits.before_header, floor);
  std::vector<double> overheads;
  for (int run = 1; run <= options.runs; ++run) {
    const double seconds = TimedPeek(backend, product_waits, rows, options.download_all);
    const double overhead_ms = (seconds - floor) * 1000.0 / rows;
    overheads.push_back(overhead_ms);
    std::printf("run %d: %.3f s, overhead %.3f ms per message\n", run, seconds, overhead_ms);
  }
  std::sort(overheads.begin(), overheads.end());
  std::printf("overhead per message: min %.3f ms, median %.3f ms, max %.3f ms (aim: under 1 ms)\n",
              overheads.front(), overheads[overheads.size() / 2], overheads.back());
  // The same peek without any wait: the cost of the work itself (server round trips, header
  // decoding, the window's UI calls), apart from how long the system oversleeps the waits.
  std::vector<double> costs;
  for (int run = 1; run <= options.runs; ++run)
    costs.push_back(TimedPeek(backend, PeekWaits{0, 0, 0, 0}, rows, options.download_all) * 1000.0 / rows);
  std::sort(costs.begin(), costs.end());
  std::printf("without the waits: min %.3f ms, median %.3f ms, max %.3f ms per message\n", costs.front(),
              costs[costs.size() / 2], costs.back());
  return 0;
}

}  // namespace
}  // namespace larkspin

int main(int argc, char** argv) {
  larkspin::Options options;
  return larkspin::bench::RunBenchmarkMain(argc, argv,
                                           {{"--runs", &options.runs},
                                            {"--messages", &options.messages},
                                            {"--modern", &options.modern},
                                            {"--uidl", &options.uidl},
                                            {"--fast", &options.fast},
                                            {"--delay", &options.delay},
                                            {"--accounts", &options.accounts},
                                            {"--parallel", &options.parallel},
                                            {"--download-all", &options.download_all}},
                                           [&] { return larkspin::Run(options); });
}
