// Sorting the header list: 20,000 rows on the headless backend, by date, by size and by text,
// each direction, best and median of several runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "common/format.h"
#include "res/control_ids.h"
#include "res/resources.h"
#include "ui/dialog.h"
#include "ui/headless/headless_backend.h"
#include "widgets/sorting_list.h"

namespace larkspin {
namespace {

constexpr int kRows = 20000;
constexpr int kRuns = 7;

std::vector<std::string> RandomRow(std::mt19937& random) {
  static const char* const kNames[] = {"Ann Smith", "bob jones", "Carla Diaz", "dan wu", "Eve Adams", "frank O'Neil"};
  static const char* const kSubjects[] = {"Minutes", "re: invoice", "Holiday photos", "weekly report", "Lunch?"};
  std::uniform_int_distribution<int> pick(0, 1 << 20);
  const std::string from = std::string(kNames[pick(random) % 6]) + " " + std::to_string(pick(random) % 1000);
  const std::string subject = std::string(kSubjects[pick(random) % 5]) + " #" + std::to_string(pick(random));
  const std::string date = FormatText("%02d.%02d.%04d %02d:%02d:%02d +0100", pick(random) % 28 + 1,
                                      pick(random) % 12 + 1, 1998 + pick(random) % 10, pick(random) % 24,
                                      pick(random) % 60, pick(random) % 60);
  return {from, subject, date, "home", FormatText("%dk", pick(random) % 5000)};
}

double Milliseconds(std::chrono::steady_clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

void Measure(CSortingList& list, int column, const char* name) {
  for (const bool ascending : {true, false}) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
      list.Sort(column, !ascending);  // start from the other order, so every run moves rows
      const auto start = std::chrono::steady_clock::now();
      list.Sort(column, ascending);
      times.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    std::printf("sort %-5s %-10s  best %6.2f ms  median %6.2f ms\n", name, ascending ? "ascending" : "descending",
                times.front(), times[times.size() / 2]);
  }
}

int Run() {
  CHeadlessBackend backend;
  CScopedUiBackend installed(backend);
  CDialog window(kDialogMain, nullptr);
  window.Create();
  CSortingList list;
  list.Attach(window, kHeaderList);
  for (const char* title : {"From", "Subject", "Date", "Account", "Size"}) list.AddColumn(title, 0, 100);
  std::mt19937 random(20040302);
  for (int row = 0; row < kRows; ++row) list.InsertRow(RandomRow(random), 0, kIconRowOnServer);
  std::printf("%d rows\n", list.RowCount());
  Measure(list, 2, "date");
  Measure(list, 4, "size");
  Measure(list, 1, "text");
  return 0;
}

}  // namespace
}  // namespace larkspin

int main() { return larkspin::Run(); }
