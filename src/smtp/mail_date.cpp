#include "smtp/mail_date.h"

#include <cstdlib>

#include "common/format.h"

namespace larkspin {

namespace {
constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
}  // namespace

std::string FormatZoneOffset(long seconds_east) {
  const long minutes = std::labs(seconds_east) / 60;
  return FormatText("%c%02ld%02ld", seconds_east < 0 ? '-' : '+', minutes / 60, minutes % 60);
}

std::string FormatMailDate(const std::tm& local) {
  return FormatText("%s, %02d %s %04d %02d:%02d:%02d %s", kDayNames[local.tm_wday % 7], local.tm_mday,
                    kMonthNames[local.tm_mon % 12], local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec,
                    FormatZoneOffset(local.tm_gmtoff).c_str());
}

}  // namespace larkspin
