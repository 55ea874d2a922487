#include "widgets/list_date.h"

#include <cctype>
#include <ctime>

namespace larkspin {

namespace {

constexpr const char* kDateForms[] = {
    "%d.%m.%Y %H:%M:%S", "%d.%m.%Y %H:%M", "%d.%m.%Y",          "%a, %d %b %Y %H:%M:%S", "%d %b %Y %H:%M:%S",
    "%m/%d/%Y %H:%M:%S", "%m/%d/%Y",       "%Y/%m/%d %H:%M:%S",
};

std::string CutZone(const std::string& text) {
  size_t marker = text.find('-');
  if (marker == std::string::npos) marker = text.find('+');
  if (marker == std::string::npos) marker = text.find("GMT");
  if (marker == std::string::npos) marker = text.find("EDT");
  if (marker == std::string::npos) return text;
  return text.substr(0, marker == 0 ? 0 : marker - 1);
}

bool OnlyBlanksFrom(const char* rest) {
  while (*rest && std::isspace(static_cast<unsigned char>(*rest))) ++rest;
  return *rest == '\0';
}

// Days from 1 January 1970 for a proleptic Gregorian date.
long DaysFromCivil(long year, unsigned month, unsigned day) {
  year -= month <= 2;
  const long era = (year >= 0 ? year : year - 399) / 400;
  const unsigned year_of_era = static_cast<unsigned>(year - era * 400);
  const unsigned day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + static_cast<long>(day_of_era) - 719468;
}

constexpr long kDaysFrom1899To1970 = 25569;

}  // namespace

std::optional<double> ParseListDate(const std::string& text) {
  const std::string date = CutZone(text);
  if (date.empty()) return std::nullopt;
  for (const char* form : kDateForms) {
    std::tm fields{};
    const char* rest = strptime(date.c_str(), form, &fields);
    if (!rest || !OnlyBlanksFrom(rest)) continue;
    const long days = DaysFromCivil(fields.tm_year + 1900L, static_cast<unsigned>(fields.tm_mon + 1),
                                    static_cast<unsigned>(fields.tm_mday)) + kDaysFrom1899To1970;
    const double seconds = fields.tm_hour * 3600.0 + fields.tm_min * 60.0 + fields.tm_sec;
    return static_cast<double>(days) + seconds / 86400.0;
  }
  return std::nullopt;
}

}  // namespace larkspin
