#include "bench_figures.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include <sys/resource.h>
#include <sys/wait.h>

#include "support/child_process.h"
#include "support/temp_folder.h"

namespace larkspin::bench {

Figures Summarize(std::vector<double> values) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  return {values.front(), values[values.size() / 2], values.back()};
}

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void PrintFigures(const char* label, const Figures& figures, const char* unit) {
  std::printf("  %-34s min %9.4f  median %9.4f  max %9.4f %s\n", label, figures.min, figures.median, figures.max,
              unit);
}

bool ParseNumberOptions(int argc, char** argv, const NumberOptions& options) {
  if (argc % 2 == 0) return false;
  for (int i = 1; i + 1 < argc; i += 2) {
    const int value = std::atoi(argv[i + 1]);
    const auto option = std::find_if(options.begin(), options.end(),
                                     [&](const auto& entry) { return std::strcmp(entry.first, argv[i]) == 0; });
    if (value <= 0 || option == options.end()) return false;
    *option->second = value;
  }
  return true;
}

int RunBenchmarkMain(int argc, char** argv, const NumberOptions& options, const std::function<int()>& run) {
  if (!ParseNumberOptions(argc, argv, options)) {
    std::fprintf(stderr, "Usage: %s", argv[0]);
    for (const auto& option : options) std::fprintf(stderr, " [%s N]", option.first);
    std::fprintf(stderr, "\n");
    return 2;
  }
  try {
    return run();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
}

ProcessRun RunMeasured(const std::vector<std::string>& argv, const std::string& output_path) {
  std::filesystem::remove(output_path);  // the child appends to it
  const Clock::time_point start = Clock::now();
  const pid_t child = test_support::StartProcess(argv, output_path);
  int status = 0;
  rusage usage{};
  if (child < 0 || !test_support::WaitForExit(child, 600000, &status, &usage) || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0)
    throw std::runtime_error(argv[0] + " failed: " + test_support::ReadFile(output_path));
  return {SecondsSince(start), static_cast<double>(usage.ru_maxrss) * 1024.0, test_support::ReadFile(output_path)};
}

std::string OrdinaryMessage(int n, std::mt19937& random) {
  static const char* const kSenders[] = {"Anna Berg <anna.berg@example.org>", "Build Robot <ci@builds.example.com>",
                                         "Lindqvist Books <news@books.example>", "Tomasz Nowak <t.nowak@example.net>"};
  std::ostringstream text;
  text << "Return-Path: <sender" << n << "@example.org>\r\n"
       << "Received: from mx" << n % 7 << ".example.org (mx.example.org [192.0.2." << n % 250 << "])\r\n"
       << "\tby pop.example.net with ESMTP id " << 100000 + n << "\r\n"
       << "\tfor <carla@example.net>; Tue, 3 Feb 2026 08:" << 10 + n % 50 << ":00 +0100\r\n"
       << "From: " << kSenders[n % 4] << "\r\n"
       << "To: Carla Lind <carla@example.net>\r\n"
       << "Subject: Message number " << n << " about the quarterly figures and what follows from them\r\n"
       << "Date: Tue, 3 Feb 2026 08:" << 10 + n % 50 << ":" << 10 + n % 49 << " +0100\r\n"
       << "Message-ID: <bench-" << n << "@example.org>\r\n"
       << "MIME-Version: 1.0\r\n"
       << "Content-Type: text/plain; charset=us-ascii\r\n"
       << "Content-Transfer-Encoding: 7bit\r\n"
       << "\r\n";
  const int body_lines = 15 + static_cast<int>(random() % 45);
  for (int line = 0; line < body_lines; ++line)
    text << "Line " << line << " of the body of message " << n << ", written only to give it a usual size.\r\n";
  return text.str();
}

}  // namespace larkspin::bench
