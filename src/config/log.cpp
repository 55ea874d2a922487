#include "config/log.h"

#include <cstdio>
#include <mutex>

#include "common/format.h"
#include "platform/file_system.h"
#include "platform/local_time.h"

namespace larkspin {

namespace {
std::mutex log_mutex;
std::FILE* log_stream = nullptr;
}  // namespace

int OpenLog(const std::string& path) {
  std::FILE* stream = OpenPrivateFile(path, "a+");
  if (stream == nullptr) return -1;
  std::lock_guard lock(log_mutex);
  if (log_stream) std::fclose(log_stream);
  log_stream = stream;
  return 1;
}

void CloseLog() {
  std::lock_guard lock(log_mutex);
  if (log_stream) std::fclose(log_stream);
  log_stream = nullptr;
}

int WriteLogLine(const std::string& text) {
  const std::string line = text + "\n";
  std::lock_guard lock(log_mutex);
  if (log_stream == nullptr) return -1;
  const bool written = std::fwrite(line.data(), 1, line.size(), log_stream) == line.size();
  const bool flushed = std::fflush(log_stream) == 0;
  return written && flushed ? 1 : -1;
}

int LogEvent(const std::string& message) { return WriteLogLine(FormatNow(kLogStamp, ":", "/") + " \t" + message); }

std::string FormatTime(const std::tm& time, int kind, const std::string& time_separator,
                       const std::string& date_separator) {
  switch (kind) {
    case kTimeOfDay:
      return FormatText("%02d%s%02d%s%02d", time.tm_hour, time_separator.c_str(), time.tm_min,
                        time_separator.c_str(), time.tm_sec);
    case kDateOnly:
      return FormatText("%04d%s%02d%s%02d", time.tm_year + 1900, date_separator.c_str(), time.tm_mon + 1,
                        date_separator.c_str(), time.tm_mday);
    case kLogStamp:
      return FormatText("%02d/%02d/%04d %02d:%02d:%02d", time.tm_mon + 1, time.tm_mday, time.tm_year + 1900,
                        time.tm_hour, time.tm_min, time.tm_sec);
    default:
      return "Invalid Format";
  }
}

std::string FormatNow(int kind, const std::string& time_separator, const std::string& date_separator) {
  return FormatTime(LocalNow(), kind, time_separator, date_separator);
}

}  // namespace larkspin
