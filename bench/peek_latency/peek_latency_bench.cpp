// `larkspin peek` of a private Dovecot behind a delay proxy, as a distant server is reached:
// pipelined (Pipelining=Auto: Dovecot lists PIPELINING) against lock-step (Pipelining=Never) in
// the same run, then `peek --all` of several accounts against the peek of one of them.
//
//   larkspin-bench-peek-latency [--messages N] [--delay MS_EACH_WAY] [--runs N] [--accounts N]
//                               [--account-messages N] [--quick 1]
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench_figures.h"
#include "common/format.h"
#include "common/scramble.h"
#include "support/delay_proxy.h"
#include "support/dovecot_server.h"
#include "support/temp_folder.h"

namespace larkspin {
namespace {

const char* const kPassword = "bench-password";

struct Options {
  int messages = 2000;
  int delay = 10;
  int runs = 3;
  int accounts = 4;
  int account_messages = 500;
  int quick = 0;  // 1 leaves the lock-step peek out
};

std::string AccountSectionText(int n, const std::string& user, int port, const char* pipelining) {
  return FormatText("[Account%d]\r\nPOP3Host=127.0.0.1\r\nPOP3Port=%d\r\nPOP3Account=%s\r\nPOP3Password=%s\r\n"
                    "Pipelining=%s\r\n",
                    n, port, Scrambled(user).c_str(), Scrambled(kPassword).c_str(), pipelining);
}

// A config.ini of one account per user, every account through the proxy.
void WriteConfig(const std::vector<std::string>& users, int port, const std::vector<const char*>& pipelining) {
  std::string text = FormatText("[System]\r\nAccounts=%zu\r\nPeekTime=0\r\n[Users]\r\n", users.size());
  for (size_t i = 0; i < users.size(); ++i) text += FormatText("Account%zu=%s\r\n", i + 1, users[i].c_str());
  for (size_t i = 0; i < users.size(); ++i)
    text += AccountSectionText(static_cast<int>(i + 1), users[i], port, pipelining[i]);
  test_support::WriteFile("config.ini", text);
}

// The seconds of one `larkspin peek` with these arguments; warns when the rows are not all there.
double TimedPeek(const std::vector<std::string>& arguments, int expected_rows, const test_support::TempFolder& scratch) {
  std::vector<std::string> argv = {LARKSPIN_EXECUTABLE, "peek"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  const bench::ProcessRun run = bench::RunMeasured(argv, scratch.File("peek-output.txt"));
  int rows = 0;
  for (const char c : run.output) rows += c == '\n';
  if (rows - 1 != expected_rows) std::fprintf(stderr, "warning: %d rows instead of %d\n", rows - 1, expected_rows);
  return run.seconds;
}

bench::Figures TimedPeeks(const std::vector<std::string>& arguments, int expected_rows, int runs,
                          const test_support::TempFolder& scratch) {
  std::vector<double> seconds;
  for (int run = 0; run < runs; ++run) seconds.push_back(TimedPeek(arguments, expected_rows, scratch));
  return bench::Summarize(seconds);
}

void FillMailbox(test_support::DovecotServer& server, const std::string& user, int count, std::mt19937& random) {
  server.AddUser(user, kPassword);
  for (int n = 1; n <= count; ++n) server.AddMessage(user, bench::OrdinaryMessage(n, random));
}

int Run(const Options& options) {
  std::mt19937 random(2026);
  test_support::DovecotServer server;
  FillMailbox(server, "large", options.messages, random);
  std::vector<std::string> users;
  for (int a = 1; a <= options.accounts; ++a) {
    users.push_back("user" + std::to_string(a));
    FillMailbox(server, users.back(), options.account_messages, random);
  }
  server.Start();
  test_support::DelayProxy proxy(server.Port(), options.delay);
  test_support::TempFolder folder;
  test_support::ScopedWorkingDirectory here(folder.Path());
  std::printf("larkspin peek through a delay proxy of %d ms each way (%d ms round trip), Dovecot on 127.0.0.1\n",
              options.delay, 2 * options.delay);

  WriteConfig({"large", "large"}, proxy.Port(), {"Auto", "Never"});
  bench::PrintFigures(FormatText("%d messages, pipelined:", options.messages).c_str(),
                      TimedPeeks({"--account", "1"}, options.messages, options.runs, folder), "s");
  if (!options.quick)
    bench::PrintFigures(FormatText("%d messages, lock-step:", options.messages).c_str(),
                        TimedPeeks({"--account", "2"}, options.messages, 1, folder), "s");

  WriteConfig(users, proxy.Port(), std::vector<const char*>(users.size(), "Auto"));
  const bench::Figures one = TimedPeeks({"--account", "1"}, options.account_messages, options.runs, folder);
  const bench::Figures all =
      TimedPeeks({"--all"}, options.accounts * options.account_messages, options.runs, folder);
  bench::PrintFigures(FormatText("one account of %d:", options.account_messages).c_str(), one, "s");
  bench::PrintFigures(FormatText("--all, %d accounts of %d:", options.accounts, options.account_messages).c_str(), all,
                      "s");
  std::printf("--all takes %.2f x one account's time (median; aim: within 1.5 x)\n", all.median / one.median);
  return 0;
}

}  // namespace
}  // namespace larkspin

int main(int argc, char** argv) {
  larkspin::Options options;
  return larkspin::bench::RunBenchmarkMain(argc, argv,
                                           {{"--messages", &options.messages},
                                            {"--delay", &options.delay},
                                            {"--runs", &options.runs},
                                            {"--accounts", &options.accounts},
                                            {"--account-messages", &options.account_messages},
                                            {"--quick", &options.quick}},
                                           [&] { return larkspin::Run(options); });
}
