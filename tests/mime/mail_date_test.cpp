#include "mime/mail_date.h"

#include <gtest/gtest.h>

#include <ctime>

namespace larkspin {
namespace {

TEST(SplitDateTest, SplitsAFullDateIntoDisplayDateAndRest) {
  const SplitDateField date = SplitDate("Tue, 2 Mar 2004 10:11:12 +0100");
  EXPECT_EQ(date.display_date, "02.03.2004");
  EXPECT_EQ(date.rest, "10:11:12 +0100");
  EXPECT_EQ(DateColumnText(date), "02.03.2004 10:11:12 +0100");
  EXPECT_EQ(MakeFileId(date), "02_03_2004_10_11_12_+0100");
  EXPECT_EQ(SplitDate("Fri, 31 Dec 1999 23:59:59 -0800 (PST)").rest, "23:59:59 -0800 (PST)");
}

TEST(SplitDateTest, EveryMonthNameHasItsNumberAndOthersGiveDoubleZero) {
  const char* const names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int month = 1; month <= 12; ++month) {
    const std::string date = std::string("Mon, 10 ") + names[month - 1] + " 2020 01:02:03 +0000";
    EXPECT_EQ(SplitDate(date).display_date, (month < 10 ? "10.0" : "10.") + std::to_string(month) + ".2020");
  }
  EXPECT_EQ(SplitDate("Mon, 10 mar 2020 01:02:03 +0000").display_date, "10.00.2020");
  EXPECT_EQ(SplitDate("Mon, 10 March 2020 01:02:03 +0000").display_date, "10.00.2020");
}

TEST(SplitDateTest, ADateWithoutWeekdayComesOutOneFieldOff) {
  const SplitDateField date = SplitDate("2 Mar 2004 10:11:12 +0100");
  EXPECT_EQ(date.display_date, "Mar.00.10:11:12");
  EXPECT_EQ(date.rest, "+0100");
}

TEST(SplitDateTest, AMissingDateGivesPointDoubleZeroPoint) {
  const SplitDateField date = SplitDate("");
  EXPECT_EQ(date.display_date, ".00.");
  EXPECT_EQ(date.rest, "");
  EXPECT_EQ(MakeFileId(date), "_00__");
}

TEST(SplitDateTest, MissingBlanksEmptyTheFieldsAfterThemAndSearchesStartOver) {
  // Three blanks: the fourth search finds nothing, so the rest is the whole value.
  EXPECT_EQ(SplitDate("Tue, 2 Mar 2004").display_date, "02.03.");
  EXPECT_EQ(SplitDate("Tue, 2 Mar 2004").rest, "Tue, 2 Mar 2004");
  // Two blanks: the search after the missing third blank starts over and finds the first one.
  const SplitDateField two = SplitDate("Tue, 2 Mar");
  EXPECT_EQ(two.display_date, "02.00.Tue,");
  EXPECT_EQ(two.rest, "2 Mar");
  // No blank at all.
  EXPECT_EQ(SplitDate("garbage").display_date, ".00.");
  EXPECT_EQ(SplitDate("garbage").rest, "garbage");
}

TEST(FileIdTest, BlanksPointsSlashesAndColonsBecomeUnderscores) {
  EXPECT_EQ(FileIdOfDateText("02.03.2004 10:11:12 +0100"), "02_03_2004_10_11_12_+0100");
  EXPECT_EQ(FileIdOfDateText("a/b\\c..d"), "a_b\\c__d");
}

TEST(MailDateTest, EnglishNamesZeroPaddedFieldsAndTheZoneOffset) {
  struct Case {
    int year, month, day, weekday, hour, minute, second;
    long seconds_east;
    const char* text;
  };
  for (const Case& c : {Case{2026, 12, 7, 1, 10, 48, 37, 3600, "Mon, 07 Dec 2026 10:48:37 +0100"},
                        Case{2004, 3, 2, 2, 0, 0, 5, -(3 * 3600 + 30 * 60), "Tue, 02 Mar 2004 00:00:05 -0330"},
                        Case{1999, 1, 31, 0, 23, 59, 59, 0, "Sun, 31 Jan 1999 23:59:59 +0000"}}) {
    const std::tm time{.tm_sec = c.second, .tm_min = c.minute, .tm_hour = c.hour, .tm_mday = c.day,
                       .tm_mon = c.month - 1, .tm_year = c.year - 1900, .tm_wday = c.weekday, .tm_yday = 0,
                       .tm_isdst = 0, .tm_gmtoff = c.seconds_east, .tm_zone = nullptr};
    EXPECT_EQ(FormatMailDate(time), c.text);
  }
}

TEST(MailDateTest, ZoneOffsetsInHoursAndMinutesWithTheirSign) {
  EXPECT_EQ(FormatZoneOffset(0), "+0000");
  EXPECT_EQ(FormatZoneOffset(5 * 3600 + 30 * 60), "+0530");
  EXPECT_EQ(FormatZoneOffset(-(3 * 3600 + 30 * 60)), "-0330");
  EXPECT_EQ(FormatZoneOffset(-5 * 3600), "-0500");
}

}  // namespace
}  // namespace larkspin
