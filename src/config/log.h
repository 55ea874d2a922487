#pragma once
// The activity log: one process-wide append stream, one time-stamped line per event. Each line
// is written by one write followed by a flush, under a lock, so lines from the peek worker and
// the window thread never interleave.
#include <ctime>
#include <string>

namespace larkspin {

// Opens path for appending (created when missing). 1, or -1 when it cannot be opened (the window
// and the command line then say "Couldn't open LogFile.").
int OpenLog(const std::string& path);
void CloseLog();
// Writes text and a newline, then flushes. 1, or -1 when writing fails or no log is open.
int WriteLogLine(const std::string& text);
// Writes the current local time stamp, " \t" and the message as one line.
int LogEvent(const std::string& message);

// Time stamp kinds of FormatNow.
enum TimeStampKind : int { kTimeOfDay = 0, kDateOnly = 1, kLogStamp = 2 };
// kTimeOfDay: hour, minute, second joined by time_separator; kDateOnly: year, month, day joined
// by date_separator; kLogStamp: "MM/DD/YYYY hh:mm:ss"; any other kind "Invalid Format".
std::string FormatNow(int kind, const std::string& time_separator, const std::string& date_separator);
// The same for a given broken-down time.
std::string FormatTime(const std::tm& time, int kind, const std::string& time_separator,
                       const std::string& date_separator);

}  // namespace larkspin
