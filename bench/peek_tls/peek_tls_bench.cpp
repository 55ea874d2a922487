// A peek of every header over POP3S next to the same peek over plain POP3, against one private
// Dovecot in the same run: login, STAT, LIST, TOP n 0 for each message, QUIT.
//
//   larkspin-bench-peek-tls [--runs N] [--messages N]
#include <cstdio>
#include <ctime>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_figures.h"
#include "pop3/pop3_client.h"
#include "support/dovecot_server.h"
#include "support/test_certificates.h"

namespace larkspin {
namespace {

const char* const kUser = "peek";
const char* const kPassword = "bench-password";

struct Options {
  int runs = 9;
  int messages = 1000;
};

double ProcessorSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct PeekTime {
  double wall = 0;
  double processor = 0;  // this process's own share: the client's cost without the server's
};

// One whole peek; throws when any step fails.
PeekTime TimePeek(const TlsOptions& tls, int port, int messages) {
  const bench::Clock::time_point start = bench::Clock::now();
  const double processor_start = ProcessorSeconds();
  CPop3Client client;
  client.read_timeout_ms = 60000;
  client.tls = tls;
  int count = 0;
  int size = 0;
  if (!client.Connect("localhost", kUser, kPassword, port) || !client.Statistics(count, size) || count != messages)
    throw std::runtime_error("login or STAT failed: " + client.LastReply());
  CPop3Text header;
  for (int n = 1; n <= count; ++n) {
    if (!client.GetMessageHeader(n, header)) throw std::runtime_error("TOP failed: " + client.LastReply());
  }
  client.Disconnect();
  return {bench::SecondsSince(start), ProcessorSeconds() - processor_start};
}

int RunBenchmark(const Options& options) {
  test_support::TempFolder scratch;
  const test_support::TestCertificates certificates(scratch.Path(), "localhost");
  test_support::DovecotServer server;
  server.EnableTls(certificates.CertificateFile(), certificates.KeyFile());
  server.AddUser(kUser, kPassword);
  std::mt19937 random(7);
  for (int n = 1; n <= options.messages; ++n) server.AddMessage(kUser, bench::OrdinaryMessage(n, random));
  server.Start();
  const TlsOptions plain;
  TlsOptions secure;
  secure.mode = TlsMode::kImplicit;
  secure.ca_file = certificates.AuthorityFile();
  // One pass each first: Dovecot builds its index.
  TimePeek(plain, server.Port(), options.messages);
  TimePeek(secure, server.TlsPort(), options.messages);
  std::vector<double> plain_runs, secure_runs, ratios, plain_processor, secure_processor;
  for (int run = 0; run < options.runs; ++run) {
    // Each side goes first in every other pair.
    const bool plain_first = run % 2 == 0;
    const PeekTime first = TimePeek(plain_first ? plain : secure, plain_first ? server.Port() : server.TlsPort(),
                                    options.messages);
    const PeekTime second = TimePeek(plain_first ? secure : plain, plain_first ? server.TlsPort() : server.Port(),
                                     options.messages);
    const PeekTime& plain_time = plain_first ? first : second;
    const PeekTime& secure_time = plain_first ? second : first;
    plain_runs.push_back(plain_time.wall);
    secure_runs.push_back(secure_time.wall);
    ratios.push_back(secure_time.wall / plain_time.wall);
    plain_processor.push_back(plain_time.processor);
    secure_processor.push_back(secure_time.processor);
  }
  std::printf("Peek of %d headers from Dovecot on 127.0.0.1, %d runs each\n", options.messages, options.runs);
  bench::PrintFigures("plain POP3", bench::Summarize(plain_runs), "s");
  bench::PrintFigures("POP3S (TLS, certificate checked)", bench::Summarize(secure_runs), "s");
  bench::PrintFigures("ratio POP3S / plain", bench::Summarize(ratios), "");
  bench::PrintFigures("client processor time, plain", bench::Summarize(plain_processor), "s");
  bench::PrintFigures("client processor time, POP3S", bench::Summarize(secure_processor), "s");
  return 0;
}

}  // namespace
}  // namespace larkspin

int main(int argc, char** argv) {
  larkspin::Options options;
  return larkspin::bench::RunBenchmarkMain(argc, argv, {{"--runs", &options.runs}, {"--messages", &options.messages}},
                                           [&] { return larkspin::RunBenchmark(options); });
}
