// Screening: 10,000 peeked headers against a rules.txt of 500 rules (300 from, 150 subject words
// and phrases, 50 regular expressions), none of which matches most mail, so each header meets
// every rule. Prints the time per header (the verdict with its signals; the header's facts are the
// peek's work), the rule file's reading time, and the peak resident memory with what the headers
// and the rules add to it.
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "bench_figures.h"
#include "common/format.h"
#include "screening/rule_file.h"
#include "screening/screening.h"

namespace larkspin {
namespace {

struct Options {
  int runs = 5;
  int headers = 10000;
};

double PeakBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) * 1024.0;
}

// 300 from rules (addresses, *@domain, @domain), 150 subject words and phrases, 50 expressions.
std::string RuleText() {
  std::string text = "# the benchmark's rules\n";
  for (int i = 0; i < 300; ++i) {
    const char* const forms[] = {"sender%d@junk%d.example", "*@junk%d-%d.example", "@spam%d.zone%d.example"};
    text += FormatText("delete \"From %d\" from ", i) + FormatText(forms[i % 3], i, i % 17) + "\n";
  }
  for (int i = 0; i < 150; ++i)
    text += i % 2 ? FormatText("delete \"Word %d\" subject lottery%d\n", i, i)
                  : FormatText("flag \"Phrase %d\" subject \"claim your prize %d now\"\n", i, i);
  for (int i = 0; i < 50; ++i)
    text += FormatText("delete \"Expression %d\" subject /(cheap|free) (pills|watches)-%d/\n", i, i);
  return text;
}

// The header of an ordinary message, with a spam stamp, a list or an authentication failure here
// and there, as a peek's TOP n 0 gives it.
std::string HeaderText(int n, std::mt19937& random) {
  std::string message = bench::OrdinaryMessage(n, random);
  std::string header = message.substr(0, message.find("\r\n\r\n"));
  if (n % 7 == 0) header += "\r\nX-Spam-Flag: YES\r\nX-Spam-Status: Yes, score=7.1 required=5.0";
  if (n % 5 == 0) header += "\r\nList-Unsubscribe: <mailto:leave@lists.example>";
  if (n % 11 == 0) header += "\r\nAuthentication-Results: mx.example.net; spf=fail smtp.mailfrom=example.org";
  return header;
}

int Run(const Options& options) {
  const double start_peak = PeakBytes();
  std::mt19937 random(24);
  std::vector<PeekedMessage> messages;
  for (int n = 1; n <= options.headers; ++n)
    messages.push_back(MakePeekedMessage(n, FormatText("uid%d", n), 3000, HeaderText(n, random), TextEncoding::kClassic));
  const double headers_peak = PeakBytes();

  const std::string rule_text = RuleText();
  const auto parse_start = bench::Clock::now();
  const RuleFile rules = ParseRuleFile(rule_text);
  const double parse_ms = bench::SecondsSince(parse_start) * 1e3;
  if (rules.error || rules.rules.size() != 500) throw std::runtime_error("the benchmark's rule file does not read");
  const std::vector<std::string> my_addresses = {"carla@example.net"};
  const std::vector<std::string> address_book = {"anna.berg@example.org"};
  const ScreeningContext context{rules.rules, my_addresses, address_book};

  std::vector<double> per_header_us;
  int matched = 0;
  for (int run = 0; run < options.runs; ++run) {
    matched = 0;
    const auto run_start = bench::Clock::now();
    for (const PeekedMessage& message : messages) matched += Screen(context, message).action.has_value();
    per_header_us.push_back(bench::SecondsSince(run_start) * 1e6 / static_cast<double>(messages.size()));
  }
  const double end_peak = PeakBytes();
  std::printf("screen: %d headers, %zu rules (300 from, 150 subject, 50 expressions), %d runs; %d verdicts with a rule\n",
              options.headers, rules.rules.size(), options.runs, matched);
  bench::PrintFigures("time per header", bench::Summarize(per_header_us), "us");
  std::printf("  %-34s %9.2f ms\n", "reading the rule file", parse_ms);
  std::printf("  %-34s %9.1f MB (headers %.1f MB, rules and screening %.1f MB)\n", "peak resident memory",
              end_peak / 1e6, (headers_peak - start_peak) / 1e6, (end_peak - headers_peak) / 1e6);
  return 0;
}

}  // namespace
}  // namespace larkspin

int main(int argc, char** argv) {
  larkspin::Options options;
  return larkspin::bench::RunBenchmarkMain(argc, argv, {{"--runs", &options.runs}, {"--headers", &options.headers}},
                                           [&] { return larkspin::Run(options); });
}
