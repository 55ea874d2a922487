// Reading stored mail on the headless backend: the Offline view filled from a mailbox folder of
// stored message files (average 20 KB, headers as a download writes them), and the message view
// opening one 60 KB message. Wall time and the process's peak resident memory after each.
//
//   larkspin-bench-folder-view [--files N] [--runs N]
#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <random>

#include "bench_figures.h"
#include "common/format.h"
#include "main_window/dlg_main.h"
#include "platform/file_system.h"
#include "res/control_ids.h"
#include "res/resources.h"
#include "support/temp_folder.h"
#include "ui/headless/headless_backend.h"

namespace larkspin::bench {
namespace {

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// A stored message: the header block a download writes, a body of about body_bytes, and the
// attachment line.
std::string StoredMessage(int n, size_t body_bytes, std::mt19937& random) {
  static const char* const kNames[] = {"Anna Berg", "Jürgen Müller", "Carla Diaz", "Dan Wu", "Eve Adams"};
  static const char* const kWords[] = {"meeting", "invoice", "holiday", "report", "budget", "the", "and", "plan"};
  std::uniform_int_distribution<int> pick(0, 1 << 20);
  const char* name = kNames[pick(random) % 5];
  std::string text = FormatText("From: %s <sender%d@example.org>\r\nTo: anna@example.org\r\nCc: \r\n", name, n % 97);
  text += FormatText("Sent: %s, %d %s %d %02d:%02d:%02d +0100\r\n", "Mon", pick(random) % 28 + 1, "Mar",
                     2000 + pick(random) % 26, pick(random) % 24, pick(random) % 60, pick(random) % 60);
  text += FormatText("Subject: %s %s #%d\r\nPriority: 3\r\n\r\n", kWords[pick(random) % 8], kWords[pick(random) % 8], n);
  while (text.size() < body_bytes) {
    for (int word = 0; word < 12; ++word) text += std::string(kWords[pick(random) % 8]) + " ";
    text += "\r\n";
  }
  return text + "<<Attachments: plan.pdf,minutes.txt,>>\r\n";
}

void WriteMailbox(const std::string& folder, int files) {
  MakeFolder(folder);
  std::mt19937 random(20040302);
  std::uniform_int_distribution<size_t> size(4000, 36000);  // 20 KB on average
  for (int n = 0; n < files; ++n)
    std::ofstream(FormatText("%s/msg%05d.txt", folder.c_str(), n), std::ios::binary) << StoredMessage(n, size(random), random);
}

int Run(int files, int runs) {
  test_support::TempFolder folder;
  test_support::ScopedWorkingDirectory here(folder.Path());
  test_support::WriteFile(folder.File("config.ini"),
                     "[System]\r\nAccounts=1\r\nPeekTime=0\r\n[Users]\r\nAccount1=Home\r\n[Account1]\r\nPOP3Host=127.0.0.1\r\n");
  const std::string profile_path = folder.File("profile.ini");
  test_support::WriteFile(profile_path, "[66]\npw=\ninfo=" + LoadResourceString(102) + "\n");
  WriteMailbox(folder.File("mailbox1"), files);
  test_support::WriteFile(folder.File("big.txt"), [] {
    std::mt19937 random(7);
    return StoredMessage(0, 60 * 1024, random);
  }());
  std::printf("%d stored files, peak after writing them %.1f MB\n", files, PeakMegabytes());

  CHeadlessBackend backend;
  CScopedUiBackend installed(backend);
  MainWindowServices services;
  services.profile = CProfileStore(profile_path);
  CDlgMain window(services);
  window.Create();
  window.ShowWindow(true);
  CHeadlessWindow& main = *backend.WindowOf(window);

  std::vector<double> offline;
  for (int run = 0; run < runs; ++run) {
    main.ChooseMenuItem(kCommandOnline);
    const Clock::time_point start = Clock::now();
    main.ChooseMenuItem(kCommandOffline);
    offline.push_back(SecondsSince(start) * 1000);
  }
  std::printf("Offline view: %d rows\n", window.HeaderList().RowCount());
  PrintFigures("Offline view", Summarize(offline), "ms");
  std::printf("  peak memory %.1f MB\n", PeakMegabytes());

  CDlgFileView view(nullptr, services.profile);
  view.Create();
  view.SetFileName("big.txt");
  std::vector<double> opening;
  for (int run = 0; run < runs; ++run) {
    view.ShowWindow(false);
    const Clock::time_point start = Clock::now();
    view.ShowFile();
    opening.push_back(SecondsSince(start) * 1000);
  }
  std::printf("message view: %zu characters shown, %d attachments\n", backend.WindowOf(view)->Text(kFileViewText).size(),
              view.AttachmentCount());
  PrintFigures("message view, 60 KB", Summarize(opening), "ms");
  std::printf("  peak memory %.1f MB\n", PeakMegabytes());
  view.DestroyWindow();
  window.DestroyWindow();
  return 0;
}

}  // namespace
}  // namespace larkspin::bench

int main(int argc, char** argv) {
  int files = 5000;
  int runs = 5;
  return larkspin::bench::RunBenchmarkMain(argc, argv, {{"files", &files}, {"runs", &runs}},
                                           [&] { return larkspin::bench::Run(files, runs); });
}
