// Header peeking and a large download with CPop3Client next to Python's poplib, both against the
// same private Dovecot server in the same run.
//
//   larkspin-bench-pop3-peek [--runs N] [--messages N] [--large-mb N]
//
// Peek: login, STAT, LIST and TOP n 0 for every message, then QUIT, timed inside each client
// (ours in this process, poplib in a Python process), alternating, min/median/max over N runs.
// Download: RETR of one large message in a fresh process that does nothing else, with that
// process's peak resident memory (ru_maxrss), next to the same process doing only the login.
// Internal modes, run as child processes: retr PORT and login PORT.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_figures.h"
#include "pop3/pop3_client.h"
#include "support/child_process.h"
#include "support/dovecot_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using bench::Clock;
using bench::Figures;
using bench::OrdinaryMessage;
using bench::SecondsSince;
using bench::Summarize;

const char* const kPeekUser = "peek";
const char* const kLargeUser = "large";
const char* const kPassword = "bench-password";
constexpr int kReadTimeoutMs = 60000;

struct Options {
  int runs = 7;
  int messages = 2000;
  int large_mb = 50;
};

// One large message: a short header and a base64-like body of size_mb MiB.
std::string LargeMessage(int size_mb) {
  const size_t size = static_cast<size_t>(size_mb) << 20;
  std::string text =
      "From: Bola Okafor <b.okafor@example.org>\r\nTo: carla@example.net\r\n"
      "Subject: All site photos\r\nDate: Mon, 16 Mar 2026 17:45:09 +0100\r\n\r\n";
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::mt19937 random(2026);
  std::string line(76, 'A');
  while (text.size() + 78 <= size) {
    for (char& c : line) c = kAlphabet[random() % 64];
    text += line + "\r\n";
  }
  return text;
}

bool LogIn(CPop3Client& client, int port, const char* user) {
  client.read_timeout_ms = kReadTimeoutMs;
  return client.Connect("127.0.0.1", user, kPassword, port);
}

struct PeekFigures {
  double seconds = 0;      // wall time from connect to the reply to QUIT
  double cpu_seconds = 0;  // the client's own processor time in that span
  size_t header_bytes = 0;
};

double ProcessorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The peek worker's conversation: STAT, then header and size of every message (the first TOP
// brings STAT and LIST).
PeekFigures PeekWithOurClient(int port) {
  const Clock::time_point start = Clock::now();
  const double cpu_start = ProcessorSeconds();
  CPop3Client client;
  int count = 0;
  int size = 0;
  if (!LogIn(client, port, kPeekUser) || !client.Statistics(count, size))
    throw std::runtime_error("our client: " + client.LastReply());
  PeekFigures figures;
  for (int n = 1; n <= count; ++n) {
    CPop3Text header;
    uint32_t message_size = 0;
    if (!client.GetMessageHeader(n, header) || !client.GetMessageSize(n, message_size))
      throw std::runtime_error("our client: " + client.LastReply());
    figures.header_bytes += header.Text().size();
  }
  client.Disconnect();
  figures.seconds = SecondsSince(start);
  figures.cpu_seconds = ProcessorSeconds() - cpu_start;
  return figures;
}

std::string PoplibScript() { return LARKSPIN_POPLIB_SCRIPT; }

// Runs the poplib side once, which measures itself the same way.
PeekFigures PeekWithPoplib(int port, const test_support::TempFolder& scratch) {
  const std::string output = scratch.File("poplib-peek.txt");
  std::filesystem::remove(output);
  const pid_t child = test_support::StartProcess(
      {"python3", PoplibScript(), "peek", std::to_string(port), kPeekUser, kPassword}, output);
  int status = 0;
  if (child < 0 || !test_support::WaitForExit(child, 600000, &status) || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error("poplib peek failed: " + test_support::ReadFile(output));
  PeekFigures figures;
  std::istringstream(test_support::ReadFile(output)) >> figures.seconds >> figures.header_bytes >> figures.cpu_seconds;
  return figures;
}

struct ProcessFigures {
  double seconds = 0;  // as measured inside the process
  long peak_kib = 0;   // ru_maxrss
};

// Runs argv as a child doing one thing; its first output word is the seconds it measured.
ProcessFigures MeasureProcess(const std::vector<std::string>& argv, const test_support::TempFolder& scratch) {
  const bench::ProcessRun run = bench::RunMeasured(argv, scratch.File("process.txt"));
  ProcessFigures figures;
  std::istringstream(run.output) >> figures.seconds;
  figures.peak_kib = static_cast<long>(run.peak_bytes / 1024);
  return figures;
}

// Child mode: log in and, unless only_login, RETR message 1; prints the seconds taken.
int RunRetrieveMode(int port, bool only_login) {
  const Clock::time_point start = Clock::now();
  CPop3Client client;
  if (!LogIn(client, port, kLargeUser)) {
    std::fprintf(stderr, "login failed: %s\n", client.LastReply().c_str());
    return 1;
  }
  CPop3Text message;
  if (!only_login && !client.Retrieve(1, message)) {
    std::fprintf(stderr, "RETR failed: %s\n", client.LastReply().c_str());
    return 1;
  }
  client.Disconnect();
  std::printf("%.6f %zu\n", SecondsSince(start), message.Text().size());
  return 0;
}

void RunPeekComparison(const Options& options, int port, const test_support::TempFolder& scratch) {
  // One pass each first: Dovecot builds its index and both sides warm their caches.
  const size_t our_bytes = PeekWithOurClient(port).header_bytes;
  const size_t poplib_bytes = PeekWithPoplib(port, scratch).header_bytes;
  std::printf("Peek: login, STAT, LIST, %d x TOP n 0, QUIT (header bytes: ours %zu, poplib %zu)\n", options.messages,
              our_bytes, poplib_bytes);
  std::vector<double> ours, theirs, ratios, our_cpu, their_cpu;
  for (int run = 0; run < options.runs; ++run) {
    // Each side goes first in every other pair, so neither always follows the other's session.
    PeekFigures our_run, their_run;
    if (run % 2 == 0) {
      our_run = PeekWithOurClient(port);
      their_run = PeekWithPoplib(port, scratch);
    } else {
      their_run = PeekWithPoplib(port, scratch);
      our_run = PeekWithOurClient(port);
    }
    ours.push_back(our_run.seconds);
    theirs.push_back(their_run.seconds);
    ratios.push_back(our_run.seconds / their_run.seconds);
    our_cpu.push_back(our_run.cpu_seconds);
    their_cpu.push_back(their_run.cpu_seconds);
  }
  bench::PrintFigures("CPop3Client wall", Summarize(ours), "s");
  bench::PrintFigures("poplib wall", Summarize(theirs), "s");
  bench::PrintFigures("ratio CPop3Client / poplib", Summarize(ratios), "");
  bench::PrintFigures("CPop3Client own processor time", Summarize(our_cpu), "s");
  bench::PrintFigures("poplib own processor time", Summarize(their_cpu), "s");
}

void RunDownloadComparison(const Options& options, int port, size_t large_size, const test_support::TempFolder& scratch) {
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  const std::string port_text = std::to_string(port);
  std::printf("\nDownload: RETR of one %zu-byte message (%d MiB) in a process of its own\n", large_size,
              options.large_mb);
  struct Side {
    const char* name;
    std::vector<std::string> retrieve;
    std::vector<std::string> login_only;
  };
  const Side sides[] = {
      {"CPop3Client", {self, "retr", port_text}, {self, "login", port_text}},
      {"poplib",
       {"python3", PoplibScript(), "retr", port_text, kLargeUser, kPassword},
       {"python3", PoplibScript(), "login", port_text, kLargeUser, kPassword}},
  };
  for (const Side& side : sides) {
    std::vector<double> seconds;
    std::vector<double> peaks;
    for (int run = 0; run < std::max(1, options.runs / 2); ++run) {
      const ProcessFigures figures = MeasureProcess(side.retrieve, scratch);
      seconds.push_back(figures.seconds);
      peaks.push_back(static_cast<double>(figures.peak_kib) * 1024.0);
    }
    const double baseline = static_cast<double>(MeasureProcess(side.login_only, scratch).peak_kib) * 1024.0;
    const Figures peak = Summarize(peaks);
    std::printf("  %s\n", side.name);
    bench::PrintFigures("time", Summarize(seconds), "s");
    std::printf("  %-34s median %.1f MB = %.2f x the message (login alone: %.1f MB; above it: %.2f x)\n",
                "peak resident memory", peak.median / 1e6, peak.median / static_cast<double>(large_size),
                baseline / 1e6, (peak.median - baseline) / static_cast<double>(large_size));
  }
}

int RunBenchmark(const Options& options) {
  test_support::TempFolder scratch;
  test_support::DovecotServer server;
  server.AddUser(kPeekUser, kPassword);
  server.AddUser(kLargeUser, kPassword);
  std::mt19937 random(7);
  for (int n = 1; n <= options.messages; ++n) server.AddMessage(kPeekUser, OrdinaryMessage(n, random));
  const size_t large_size = LargeMessage(options.large_mb).size();
  server.AddMessage(kLargeUser, LargeMessage(options.large_mb));
  server.Start();
  std::printf("Dovecot on 127.0.0.1:%d with %d messages, and one of %d MiB; %d runs\n\n", server.Port(),
              options.messages, options.large_mb, options.runs);
  RunPeekComparison(options, server.Port(), scratch);
  RunDownloadComparison(options, server.Port(), large_size, scratch);
  return 0;
}

}  // namespace
}  // namespace larkspin

int main(int argc, char** argv) {
  if (argc == 3 && (std::strcmp(argv[1], "retr") == 0 || std::strcmp(argv[1], "login") == 0))
    return larkspin::RunRetrieveMode(std::atoi(argv[2]), std::strcmp(argv[1], "login") == 0);
  larkspin::Options options;
  return larkspin::bench::RunBenchmarkMain(argc, argv, {{"--runs", &options.runs}, {"--messages", &options.messages}, {"--large-mb", &options.large_mb}},
                                           [&] { return larkspin::RunBenchmark(options); });
}
