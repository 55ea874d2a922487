#pragma once
// What every benchmark here shares: timing, min/median/max over runs, numeric options, and a
// mailbox of ordinary messages.
#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace larkspin::bench {

using Clock = std::chrono::steady_clock;

struct Figures {
  double min = 0;
  double median = 0;
  double max = 0;
};

Figures Summarize(std::vector<double> values);
double SecondsSince(Clock::time_point start);
// "  label   min x  median y  max z unit", one line.
void PrintFigures(const char* label, const Figures& figures, const char* unit);

using NumberOptions = std::vector<std::pair<const char*, int*>>;
// Reads "--name N" pairs (N > 0) into the named integers; false on anything else.
bool ParseNumberOptions(int argc, char** argv, const NumberOptions& options);
// A benchmark program's main: reads the options (a usage line and status 2 when they are wrong),
// runs the benchmark, and turns a thrown error into a message and status 1.
int RunBenchmarkMain(int argc, char** argv, const NumberOptions& options, const std::function<int()>& run);

// A finished child process: wall time, peak resident memory, and what it printed.
struct ProcessRun {
  double seconds = 0;
  double peak_bytes = 0;
  std::string output;
};
// Runs argv to its end with its output in output_path; throws when it fails or exits non-zero.
ProcessRun RunMeasured(const std::vector<std::string>& argv, const std::string& output_path);

// A message of the kind a mailbox is full of: a dozen header lines and a body of 1 to 4 KB.
std::string OrdinaryMessage(int n, std::mt19937& random);

}  // namespace larkspin::bench
