#include "send_bench_folder.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "bench_figures.h"
#include "common/format.h"
#include "common/scramble.h"

namespace larkspin::bench {

void WriteSendWorkingFolder(const test_support::TempFolder& folder, int port, int attachment_mb) {
  test_support::WriteFile(folder.File("config.ini"),
                     FormatText("[System]\r\nAccounts=1\r\nTimeOut=120\r\n[Users]\r\nAccount1=Bench\r\n[Account1]\r\n"
                                "FullName=Ann Lee\r\nMailAddress=ann@example.org\r\nSMTPHost=127.0.0.1\r\n"
                                "SMTPPort=%d\r\nAuthentication=AuthLoginMethod\r\n",
                                port) +
                         "POP3Account=" + Scrambled(kSendUser) + "\r\nPOP3Password=" + Scrambled(kSendPassword) +
                         "\r\n");
  test_support::WriteFile(folder.File("text.txt"), "The attachment of the send benchmark.\n");
  std::string bytes(static_cast<size_t>(attachment_mb) << 20, '\0');
  std::mt19937 random(20261207);
  for (char& byte : bytes) byte = static_cast<char>(random());
  test_support::WriteFile(folder.File("attachment.bin"), bytes);
}

SendSample MeasureSend(const std::vector<std::string>& argv, const std::string& output_path) {
  const ProcessRun run = RunMeasured(argv, output_path);
  return {run.seconds, run.peak_bytes / (1 << 20)};
}

void PrintSendHeading() {
  std::printf("%-28s %8s %8s %8s %10s %8s\n", "client", "min s", "median s", "max s", "peak MiB", "x attach");
}

void PrintSendRow(const char* name, std::vector<SendSample> samples, double attachment_mib) {
  std::sort(samples.begin(), samples.end(),
            [](const SendSample& a, const SendSample& b) { return a.seconds < b.seconds; });
  double peak = 0;
  for (const SendSample& sample : samples) peak = std::max(peak, sample.peak_mib);
  std::printf("%-28s %8.3f %8.3f %8.3f %10.1f %8.2f\n", name, samples.front().seconds,
              samples[samples.size() / 2].seconds, samples.back().seconds, peak, peak / attachment_mib);
}

}  // namespace larkspin::bench
