#pragma once
// A reader of the Date field as RFC 5322 writes it (section 3.3), with the obsolete forms of its
// section 4.3 and the slips real mail carries, as far as Python's email.utils.parsedate_tz
// accepts them:
//   - an optional weekday, with or without its comma ("Tue, 3 Mar", "Tue 3 Mar", "Tue,3 Mar");
//   - a one- or two-digit day, a month name in any case (also spelled out: "March"), and the
//     month before the day ("Mar 3 2026");
//   - four-digit years; two-digit ones 00-49 are 2000-2049 and 50-99 are 1950-1999; three-digit
//     ones count from 1900 ("104" is 2004);
//   - hh:mm with optional :ss (also written with dots), before or after the year;
//   - a zone "+hhmm"/"-hhmm" (also "+hh:mm", and glued to the time), UT, UTC, GMT, the North
//     American EST/EDT/CST/CDT/MST/MDT/PST/PDT, or none; military letters, "-0000" and any
//     other zone text stand for an unknown zone;
//   - comments ("(CET)", nested, with quoted characters) and blanks, tabs and line breaks
//     anywhere between the parts; words after the zone are ignored.
// A date whose fields are out of range (31 April, 24:00, a year before 1900 or after 9999) is
// not read.
#include <optional>
#include <string_view>

namespace larkspin {

struct MailDateTime {
  int year = 0;     // 1900 ... 9999
  int month = 0;    // 1 ... 12
  int day = 0;      // 1 ... the month's length
  int hour = 0;     // 0 ... 23
  int minute = 0;   // 0 ... 59
  int second = 0;   // 0 ... 60 (a leap second); 0 where the date has none
  bool zone_known = false;  // false: the zone is unknown, "-0000"
  int zone_minutes = 0;     // east of UTC, -5999 ... 5999; 0 where the zone is unknown
};

// The date and time of a Date field value; nullopt when it cannot be read as one.
std::optional<MailDateTime> ParseMailDate(std::string_view text);

}  // namespace larkspin
