// Sending a mail with a large attachment: "larkspin send" next to Python's smtplib with email,
// both to the same npm smtp-server in the same run.
//
//   larkspin-bench-send [--runs N] [--attachment-mb N]
//
// Each run starts one process per client, alternating, and measures its wall time from start to
// exit and its peak resident memory (ru_maxrss). Both authenticate, build the message from the
// same file and wait for the server's 250; every message is checked to have arrived.
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_figures.h"
#include "send_bench_folder.h"
#include "common/format.h"
#include "support/npm_smtp_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::NpmSmtpServer;
using test_support::TempFolder;

const char* const kPython = "/usr/bin/python3";

struct Options {
  int runs = 5;
  int attachment_mb = 20;
};

bench::SendSample SendWithLarkspin(const TempFolder& folder) {
  const std::string command = FormatText(
      "cd '%s' && exec '%s' send --account 1 --to bob@example.org --subject 'Send benchmark' "
      "--attach attachment.bin < text.txt",
      folder.Path().c_str(), LARKSPIN_EXECUTABLE);
  return bench::MeasureSend({"sh", "-c", command}, folder.File("larkspin.out"));
}

bench::SendSample SendWithPython(const TempFolder& folder, int port) {
  return bench::MeasureSend({kPython, LARKSPIN_SMTPLIB_SCRIPT, std::to_string(port), bench::kSendUser,
                             bench::kSendPassword, folder.File("attachment.bin")},
                            folder.File("python.out"));
}

int RunBenchmark(const Options& options) {
  NpmSmtpServer server(bench::kSendUser, bench::kSendPassword);
  server.Start();
  TempFolder folder;
  bench::WriteSendWorkingFolder(folder, server.Port(), options.attachment_mb);
  std::vector<bench::SendSample> ours;
  std::vector<bench::SendSample> python;
  for (int run = 0; run < options.runs; ++run) {
    ours.push_back(SendWithLarkspin(folder));
    python.push_back(SendWithPython(folder, server.Port()));
  }
  const size_t expected = static_cast<size_t>(options.runs) * 2;
  if (!server.WaitForMessages(expected, 10000)) throw std::runtime_error("the server did not store every message");
  std::printf("Sending one mail with a %d MiB attachment to npm smtp-server, %d runs each\n", options.attachment_mb,
              options.runs);
  bench::PrintSendHeading();
  bench::PrintSendRow("larkspin send", ours, options.attachment_mb);
  bench::PrintSendRow("python smtplib + email", python, options.attachment_mb);
  return 0;
}

}  // namespace
}  // namespace larkspin

int main(int argc, char** argv) {
  larkspin::Options options;
  return larkspin::bench::RunBenchmarkMain(argc, argv, {{"--runs", &options.runs}, {"--attachment-mb", &options.attachment_mb}},
                                           [&] { return larkspin::RunBenchmark(options); });
}
