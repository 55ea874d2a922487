#include "mime/mail_date.h"

#include <array>
#include <cstdlib>

#include "common/format.h"

namespace larkspin {

namespace {
constexpr std::array<std::string_view, 7> kDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Blank positions: -1 stands for a missing blank, and a search after a missing blank starts at
// the beginning again.
constexpr long kMissing = -1;

long NextBlank(std::string_view date, long previous) {
  const size_t found = date.find(' ', static_cast<size_t>(previous + 1));
  return found == std::string_view::npos ? kMissing : static_cast<long>(found);
}

// The text strictly between two blank positions; empty when the right one does not lie beyond
// the left one (which is how a missing blank on the right empties a field).
std::string_view FieldBetween(std::string_view date, long left, long right) {
  if (right - left - 1 <= 0) return {};
  return date.substr(static_cast<size_t>(left + 1), static_cast<size_t>(right - left - 1));
}

std::string MonthNumber(std::string_view name) {
  for (size_t i = 0; i < kMonthNames.size(); ++i) {
    if (kMonthNames[i] == name) return (i < 9 ? "0" : "") + std::to_string(i + 1);
  }
  return "00";
}
}  // namespace

SplitDateField SplitDate(std::string_view date) {
  const long first = NextBlank(date, kMissing);
  const long second = NextBlank(date, first);
  const long third = NextBlank(date, second);
  const long fourth = NextBlank(date, third);
  std::string day(FieldBetween(date, first, second));
  if (day.size() == 1) day.insert(0, "0");
  const std::string month = MonthNumber(FieldBetween(date, second, third));
  const std::string year(FieldBetween(date, third, fourth));
  SplitDateField split;
  split.display_date = day + "." + month + "." + year;
  split.rest = std::string(date.substr(static_cast<size_t>(fourth + 1)));
  return split;
}

SplitDateField SplitParsedDate(const MailDateTime& date) {
  SplitDateField split;
  split.display_date = FormatText("%02d.%02d.%04d", date.day, date.month, date.year);
  split.rest = FormatText("%02d:%02d:%02d %s", date.hour, date.minute, date.second,
                          date.zone_known ? FormatZoneOffset(date.zone_minutes * 60L).c_str() : "-0000");
  return split;
}

SplitDateField SplitMailDate(std::string_view date, TextEncoding encoding) {
  if (encoding != TextEncoding::kUtf8) return SplitDate(date);
  const std::optional<MailDateTime> parsed = ParseMailDate(date);
  return parsed ? SplitParsedDate(*parsed) : SplitDate(date);
}

std::string DateColumnText(const SplitDateField& date) { return date.display_date + " " + date.rest; }

std::string FileIdOfDateText(std::string_view date_text) {
  std::string id(date_text);
  for (char& c : id) {
    if (c == ' ' || c == '.' || c == '/' || c == ':') c = '_';
  }
  return id;
}

std::string MakeFileId(const SplitDateField& date) { return FileIdOfDateText(DateColumnText(date)); }

std::string FormatZoneOffset(long seconds_east) {
  const long minutes = std::labs(seconds_east) / 60;
  return FormatText("%c%02ld%02ld", seconds_east < 0 ? '-' : '+', minutes / 60, minutes % 60);
}

std::string FormatMailDate(const std::tm& local) {
  return FormatText("%s, %02d %s %04d %02d:%02d:%02d %s", kDayNames[local.tm_wday % 7].data(), local.tm_mday,
                    kMonthNames[local.tm_mon % 12].data(), local.tm_year + 1900, local.tm_hour, local.tm_min,
                    local.tm_sec, FormatZoneOffset(local.tm_gmtoff).c_str());
}

}  // namespace larkspin
