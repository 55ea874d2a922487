// "larkspin download" of a message with a large base64 attachment next to Python's poplib with the
// email package extracting the same attachment, both from one private Dovecot server in the same
// run. Each side runs as a process of its own; the figures are its wall time from start to exit
// and its peak resident memory (ru_maxrss), min/median/max over N runs, alternating.
//
//   larkspin-bench-download [--runs N] [--attachment-mb N] [--modern 1]
//
// --modern 1 runs Larkspin with Charsets=Modern (the MIME tree); without it, with Classic.
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_figures.h"
#include "common/scramble.h"
#include "mime/base64.h"
#include "support/child_process.h"
#include "support/dovecot_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

namespace fs = std::filesystem;
using bench::Clock;
using bench::Figures;
using bench::Summarize;

const char* const kUser = "bola";
const char* const kPassword = "bench-password";
const char* const kAttachmentName = "site-photos.zip";

struct Options {
  int runs = 5;
  int attachment_mb = 30;
  int modern = 0;
};

std::string RandomBytes(size_t size) {
  std::mt19937_64 random(2026);
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; i += 8) {
    const uint64_t word = random();
    std::memcpy(bytes.data() + i, &word, std::min<size_t>(8, size - i));
  }
  return bytes;
}

// A mail program's message: a short text part, then the attachment.
std::string MessageWith(const std::string& attachment) {
  return "From: Bola Okafor <b.okafor@example.org>\r\nTo: Robin Keller <robin@example.net>\r\n"
         "Subject: All site photos\r\nDate: Mon, 16 Mar 2026 17:45:09 +0100\r\nMIME-Version: 1.0\r\n"
         "Content-Type: multipart/mixed; boundary=\"----=_Part_0316\"\r\n\r\n"
         "This is a multi-part message in MIME format.\r\n------=_Part_0316\r\n"
         "Content-Type: text/plain; charset=us-ascii\r\nContent-Transfer-Encoding: 7bit\r\n\r\n"
         "Hello Robin,\r\nhere are all photos of today's inspection.\r\nBola\r\n------=_Part_0316\r\n"
         "Content-Type: application/zip; name=\"" +
         std::string(kAttachmentName) +
         "\"\r\nContent-Transfer-Encoding: base64\r\n"
         "Content-Disposition: attachment; filename=\"" +
         kAttachmentName + "\"\r\n\r\n" + Base64Codec().EncodeLines(attachment) + "------=_Part_0316--\r\n";
}

void WriteConfig(const std::string& folder, int port, bool modern) {
  test_support::WriteFile(folder + "/config.ini", std::string("[System]\r\nAccounts=1\r\nTimeOut=60\r\n") +
                                                 (modern ? "Charsets=Modern\r\n" : "") + "[Users]\r\nAccount1=Bench\r\n"
                                             "[Account1]\r\nPOP3Host=127.0.0.1\r\nPOP3Port=" +
                                                 std::to_string(port) + "\r\nPOP3Account=" + Scrambled(kUser) +
                                                 "\r\nPOP3Password=" + Scrambled(kPassword) + "\r\n");
}

struct Run {
  double seconds = 0;
  double peak_bytes = 0;
};

// Runs argv in folder as a process of its own; throws when it fails.
Run Measure(const std::vector<std::string>& argv, const std::string& folder) {
  const test_support::ScopedWorkingDirectory in_folder(folder);
  const bench::ProcessRun run = bench::RunMeasured(argv, folder + "/process.txt");
  return {run.seconds, run.peak_bytes};
}

void PrintSide(const char* name, const std::vector<Run>& runs, size_t message_size) {
  std::vector<double> seconds, peaks;
  for (const Run& run : runs) {
    seconds.push_back(run.seconds);
    peaks.push_back(run.peak_bytes);
  }
  const Figures time = Summarize(seconds);
  const Figures peak = Summarize(peaks);
  std::printf("  %-28s wall time min %7.3f  median %7.3f  max %7.3f s   peak memory median %6.1f MB = %.2f x the message\n",
              name, time.min, time.median, time.max, peak.median / 1e6, peak.median / static_cast<double>(message_size));
}

int RunBenchmark(const Options& options) {
  const std::string attachment = RandomBytes(static_cast<size_t>(options.attachment_mb) << 20);
  const std::string message = MessageWith(attachment);
  test_support::DovecotServer server;
  server.AddUser(kUser, kPassword);
  server.AddMessage(kUser, message);
  server.Start();

  test_support::TempFolder ours;
  test_support::TempFolder theirs;
  WriteConfig(ours.Path(), server.Port(), options.modern != 0);
  const std::vector<std::string> larkspin = {LARKSPIN_EXECUTABLE, "download", "--account", "1", "1"};
  const std::vector<std::string> python = {"python3", LARKSPIN_POPLIB_SCRIPT, std::to_string(server.Port()), kUser,
                                           kPassword, theirs.Path()};
  std::printf("Dovecot on 127.0.0.1:%d with one %zu-byte message holding a %d MiB attachment; %d runs; %s\n",
              server.Port(), message.size(), options.attachment_mb, options.runs,
              options.modern ? "Charsets=Modern" : "Charsets=Classic");

  std::vector<Run> our_runs, their_runs;
  for (int run = 0; run < options.runs; ++run) {
    fs::remove_all(ours.File("mailbox1"));
    our_runs.push_back(Measure(larkspin, ours.Path()));
    fs::remove(theirs.File(kAttachmentName));
    their_runs.push_back(Measure(python, theirs.Path()));
    if (test_support::ReadFile(ours.File(std::string("mailbox1/attach/") + kAttachmentName)) != attachment ||
        test_support::ReadFile(theirs.File(kAttachmentName)) != attachment)
      throw std::runtime_error("an extracted attachment differs from the original");
  }
  std::printf("Both sides wrote the attachment byte for byte.\n");
  PrintSide("larkspin download", our_runs, message.size());
  PrintSide("poplib + email (Python)", their_runs, message.size());
  std::vector<double> ratios;
  for (size_t i = 0; i < our_runs.size(); ++i) ratios.push_back(our_runs[i].seconds / their_runs[i].seconds);
  const Figures ratio = Summarize(ratios);
  bench::PrintFigures("wall time ratio ours/Python", ratio, "");
  return 0;
}

}  // namespace
}  // namespace larkspin

int main(int argc, char** argv) {
  larkspin::Options options;
  return larkspin::bench::RunBenchmarkMain(argc, argv, {{"--runs", &options.runs}, {"--attachment-mb", &options.attachment_mb}, {"--modern", &options.modern}},
                                           [&] { return larkspin::RunBenchmark(options); });
}
