#include "mime/mail_date_parser.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "common/string_tools.h"

namespace larkspin {

namespace {
constexpr std::string_view kBlanks = " \t\r\n\v\f";
constexpr std::array<std::string_view, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 12> kLongMonthNames = {"January", "February", "March",     "April",
                                                               "May",     "June",     "July",      "August",
                                                               "September", "October", "November", "December"};
constexpr std::array<std::string_view, 7> kWeekdayNames = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

struct NamedZone {
  std::string_view name;
  int minutes_east;
};
constexpr NamedZone kNamedZones[] = {{"UT", 0},     {"UTC", 0},    {"GMT", 0},    {"EST", -300}, {"EDT", -240},
                                     {"CST", -360}, {"CDT", -300}, {"MST", -420}, {"MDT", -360}, {"PST", -480},
                                     {"PDT", -420}};

// A number of one to nine ASCII digits.
constexpr size_t kMaxDigits = 9;

using Words = std::vector<std::string_view>;

// The text with each comment replaced by a blank; a comment left open runs to the end.
std::string WithoutComments(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  int depth = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (depth > 0 && c == '\\') {
      ++i;  // a quoted character inside a comment
    } else if (c == '(') {
      if (depth++ == 0) kept += ' ';
    } else if (c == ')' && depth > 0) {
      --depth;
    } else if (depth == 0) {
      kept += c;
    }
  }
  return kept;
}

Words SplitAtBlanks(std::string_view text) {
  Words words;
  for (size_t start = text.find_first_not_of(kBlanks); start != std::string_view::npos;) {
    const size_t end = std::min(text.find_first_of(kBlanks, start), text.size());
    words.push_back(text.substr(start, end - start));
    start = text.find_first_not_of(kBlanks, end);
  }
  return words;
}

Words SplitAt(std::string_view text, char separator) {
  Words parts;
  for (size_t start = 0;;) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

bool IsWeekday(std::string_view word) {
  return std::any_of(kWeekdayNames.begin(), kWeekdayNames.end(),
                     [&](std::string_view name) { return EqualsIgnoringCase(word, name); });
}

// 1 ... 12 for a short or long month name in any case, 0 for anything else.
int MonthOf(std::string_view word) {
  for (size_t i = 0; i < kMonthNames.size(); ++i) {
    if (EqualsIgnoringCase(word, kMonthNames[i]) || EqualsIgnoringCase(word, kLongMonthNames[i]))
      return static_cast<int>(i) + 1;
  }
  return 0;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool ReadNumber(std::string_view text, int& number) {
  if (text.empty() || text.size() > kMaxDigits || !std::all_of(text.begin(), text.end(), IsDigit)) return false;
  number = 0;
  for (const char c : text) number = number * 10 + (c - '0');
  return true;
}

std::string_view WithoutTrailingComma(std::string_view word) {
  if (word.ends_with(',')) word.remove_suffix(1);
  return word;
}

// A weekday word goes (a comma marks one whatever its name), with a comma of its own after a
// blank ("Tue , 3"); a weekday glued to the day by its comma ("Tue,3") leaves the day.
void DropWeekday(Words& words) {
  std::string_view& first = words.front();
  if (first.ends_with(',') || IsWeekday(first)) {
    words.erase(words.begin());
    if (!words.empty() && words.front().starts_with(',')) words.front().remove_prefix(1);
    if (!words.empty() && words.front().empty()) words.erase(words.begin());
    return;
  }
  const size_t comma = first.rfind(',');
  if (comma != std::string_view::npos) first.remove_prefix(comma + 1);
}

// Day, month and year joined by "-" as in "03-Mar-26 21:17:44 GMT".
void SplitJoinedDate(Words& words) {
  if (words.size() != 3) return;
  const Words parts = SplitAt(words[0], '-');
  if (parts.size() != 3) return;
  words.erase(words.begin());
  words.insert(words.begin(), parts.begin(), parts.end());
}

// Four words: the zone is glued to the time ("21:17:44+0100") or missing.
void SeparateZone(Words& words) {
  if (words.size() != 4) return;
  const std::string_view last = words[3];
  size_t sign = last.find('+');
  if (sign == std::string_view::npos) sign = last.find('-');
  if (sign == std::string_view::npos || sign == 0) {
    words.push_back({});
    return;
  }
  words[3] = last.substr(0, sign);
  words.push_back(last.substr(sign));
}

// Two-digit years 00-49 are 2000-2049 and 50-99 are 1950-1999; three-digit years count from 1900.
bool ReadYear(std::string_view text, int& year) {
  if (!ReadNumber(text, year)) return false;
  if (text.size() <= 2) year += year < 50 ? 2000 : 1900;
  if (text.size() == 3) year += 1900;
  return true;
}

// hh:mm or hh:mm:ss, or the same with dots.
bool ReadTime(std::string_view text, MailDateTime& date) {
  const Words parts = SplitAt(text, text.find(':') != std::string_view::npos ? ':' : '.');
  if (parts.size() != 2 && parts.size() != 3) return false;
  date.second = 0;
  return ReadNumber(parts[0], date.hour) && ReadNumber(parts[1], date.minute) &&
         (parts.size() == 2 || ReadNumber(parts[2], date.second));
}

// "+hhmm" or "+hh:mm" as minutes east of UTC; false for anything else.
bool ReadNumericZone(std::string_view text, int& minutes_east) {
  if (text.size() < 5 || (text[0] != '+' && text[0] != '-')) return false;
  std::string digits(text.substr(1));
  if (digits.size() == 5 && digits[2] == ':') digits.erase(2, 1);
  int hours = 0;
  int minutes = 0;
  if (digits.size() != 4 || !ReadNumber(std::string_view(digits).substr(0, 2), hours) ||
      !ReadNumber(std::string_view(digits).substr(2), minutes) || minutes > 59)
    return false;
  minutes_east = (text[0] == '-' ? -1 : 1) * (hours * 60 + minutes);
  return true;
}

// Named and numeric zones are known; "-0000", military letters and anything else are not.
void ReadZone(std::string_view text, MailDateTime& date) {
  date.zone_known = false;
  date.zone_minutes = 0;
  for (const NamedZone& zone : kNamedZones) {
    if (EqualsIgnoringCase(text, zone.name)) {
      date.zone_known = true;
      date.zone_minutes = zone.minutes_east;
      return;
    }
  }
  int minutes_east = 0;
  if (!ReadNumericZone(text, minutes_east) || (minutes_east == 0 && text[0] == '-')) return;
  date.zone_known = true;
  date.zone_minutes = minutes_east;
}

int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

bool InRange(const MailDateTime& date) {
  return date.year >= 1900 && date.year <= 9999 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
         date.day <= DaysInMonth(date.year, date.month) && date.hour <= 23 && date.minute <= 59 && date.second <= 60;
}
}  // namespace

// The words are put in the order day, month, year, time, zone, trying the orders real mail uses
// (month before day, time before year, zone before year) as Python's parsedate_tz does.
std::optional<MailDateTime> ParseMailDate(std::string_view text) {
  const std::string clean = WithoutComments(text);
  Words words = SplitAtBlanks(clean);
  if (words.empty()) return std::nullopt;
  DropWeekday(words);
  SplitJoinedDate(words);
  SeparateZone(words);
  if (words.size() < 5) return std::nullopt;
  std::string_view day = words[0];
  std::string_view month = words[1];
  std::string_view year = words[2];
  std::string_view time = words[3];
  std::string_view zone = words[4];
  MailDateTime date;
  date.month = MonthOf(month);
  if (date.month == 0) {
    std::swap(day, month);
    date.month = MonthOf(month);
    if (date.month == 0) return std::nullopt;
  }
  if (year.find(':') != std::string_view::npos && year.find(':') > 0) std::swap(year, time);
  year = WithoutTrailingComma(year);
  if (!year.empty() && !IsDigit(year[0])) std::swap(year, zone);
  if (!ReadNumber(WithoutTrailingComma(day), date.day) || !ReadYear(year, date.year) ||
      !ReadTime(WithoutTrailingComma(time), date))
    return std::nullopt;
  ReadZone(zone, date);
  if (!InRange(date)) return std::nullopt;
  return date;
}

}  // namespace larkspin
