#pragma once
// The Date header value: English day and month names whatever the locale, and the zone as the
// offset east of UTC.
#include <ctime>
#include <string>

namespace larkspin {

// "+hhmm" or "-hhmm" for an offset east of UTC in seconds; zero gives "+0000".
std::string FormatZoneOffset(long seconds_east);

// "Mon, 07 Dec 2026 10:48:37 +0100" for a broken-down local time (its tm_gmtoff gives the zone).
std::string FormatMailDate(const std::tm& local);

}  // namespace larkspin
