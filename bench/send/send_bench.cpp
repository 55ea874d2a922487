// Sending a mail with a large attachment: "larkspin send" next to Python's smtplib with email,
// both to the same npm smtp-server in the same run.
//
//   larkspin-bench-send [--runs N] [--attachment-mb N]
//
// Each run starts one process per client, alternating, and measures its wall time from start to
// exit and its peak resident memory (ru_maxrss). Both authenticate, build the message from the
// same file and wait for the server's 250; every message is checked to have arrived.
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_figures.h"
#include "common/format.h"
#include "common/scramble.h"
#include "support/child_process.h"
#include "support/npm_smtp_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using Clock = std::chrono::steady_clock;
using testing::NpmSmtpServer;
using testing::TempFolder;

const char* const kUser = "bench";
const char* const kPassword = "bench-password";
const char* const kPython = "/usr/bin/python3";

struct Options {
  int runs = 5;
  int attachment_mb = 20;
};

struct Sample {
  double seconds = 0;
  long peak_kib = 0;
};

void WriteWorkingFolder(const TempFolder& folder, int port, int attachment_mb) {
  testing::WriteFile(folder.File("config.ini"),
                     FormatText("[System]\r\nAccounts=1\r\nTimeOut=120\r\n[Users]\r\nAccount1=Bench\r\n[Account1]\r\n"
                                "FullName=Ann Lee\r\nMailAddress=ann@example.org\r\nSMTPHost=127.0.0.1\r\n"
                                "SMTPPort=%d\r\nAuthentication=AuthLoginMethod\r\n",
                                port) +
                         "POP3Account=" + Scrambled(kUser) + "\r\nPOP3Password=" + Scrambled(kPassword) + "\r\n");
  testing::WriteFile(folder.File("text.txt"), "The attachment of the send benchmark.\n");
  std::string bytes(static_cast<size_t>(attachment_mb) << 20, '\0');
  std::mt19937 random(20261207);
  for (char& byte : bytes) byte = static_cast<char>(random());
  testing::WriteFile(folder.File("attachment.bin"), bytes);
}

// Runs argv to its end; its wall time and peak memory.
Sample Measure(const std::vector<std::string>& argv, const std::string& output) {
  const bench::ProcessRun run = bench::RunMeasured(argv, output);
  return {run.seconds, static_cast<long>(run.peak_bytes / 1024)};
}

Sample SendWithLarkspin(const TempFolder& folder) {
  const std::string command = FormatText(
      "cd '%s' && exec '%s' send --account 1 --to bob@example.org --subject 'Send benchmark' "
      "--attach attachment.bin < text.txt",
      folder.Path().c_str(), LARKSPIN_EXECUTABLE);
  return Measure({"sh", "-c", command}, folder.File("larkspin.out"));
}

Sample SendWithPython(const TempFolder& folder, int port) {
  return Measure({kPython, LARKSPIN_SMTPLIB_SCRIPT, std::to_string(port), kUser, kPassword,
                  folder.File("attachment.bin")},
                 folder.File("python.out"));
}

void PrintRow(const char* name, std::vector<Sample> samples, double attachment_mib) {
  std::sort(samples.begin(), samples.end(), [](const Sample& a, const Sample& b) { return a.seconds < b.seconds; });
  long peak = 0;
  for (const Sample& sample : samples) peak = std::max(peak, sample.peak_kib);
  const double peak_mib = peak / 1024.0;
  std::printf("%-28s %8.3f %8.3f %8.3f %10.1f %8.2f\n", name, samples.front().seconds,
              samples[samples.size() / 2].seconds, samples.back().seconds, peak_mib, peak_mib / attachment_mib);
}

int RunBenchmark(const Options& options) {
  NpmSmtpServer server(kUser, kPassword);
  server.Start();
  TempFolder folder;
  WriteWorkingFolder(folder, server.Port(), options.attachment_mb);
  std::vector<Sample> ours;
  std::vector<Sample> python;
  for (int run = 0; run < options.runs; ++run) {
    ours.push_back(SendWithLarkspin(folder));
    python.push_back(SendWithPython(folder, server.Port()));
  }
  const size_t expected = static_cast<size_t>(options.runs) * 2;
  if (!server.WaitForMessages(expected, 10000)) throw std::runtime_error("the server did not store every message");
  std::printf("Sending one mail with a %d MiB attachment to npm smtp-server, %d runs each\n", options.attachment_mb,
              options.runs);
  std::printf("%-28s %8s %8s %8s %10s %8s\n", "client", "min s", "median s", "max s", "peak MiB", "x attach");
  PrintRow("larkspin send", ours, options.attachment_mb);
  PrintRow("python smtplib + email", python, options.attachment_mb);
  return 0;
}

}  // namespace
}  // namespace larkspin

int main(int argc, char** argv) {
  larkspin::Options options;
  return larkspin::bench::RunBenchmarkMain(argc, argv, {{"--runs", &options.runs}, {"--attachment-mb", &options.attachment_mb}},
                                           [&] { return larkspin::RunBenchmark(options); });
}
