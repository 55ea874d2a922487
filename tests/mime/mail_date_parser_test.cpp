#include "mime/mail_date_parser.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "mime/mail_date.h"

namespace larkspin {
namespace {

struct Expected {
  int year, month, day, hour, minute, second;
  int zone_seconds;  // east of UTC, as Python gives it (0 also for an unknown zone)
};

struct DateCase {
  const char* text;
  std::optional<Expected> expected;
};

void ExpectParsed(const DateCase& c) {
  SCOPED_TRACE(c.text);
  const std::optional<MailDateTime> date = ParseMailDate(c.text);
  ASSERT_EQ(date.has_value(), c.expected.has_value());
  if (!date) return;
  const Expected& e = *c.expected;
  EXPECT_EQ(date->year, e.year);
  EXPECT_EQ(date->month, e.month);
  EXPECT_EQ(date->day, e.day);
  EXPECT_EQ(date->hour, e.hour);
  EXPECT_EQ(date->minute, e.minute);
  EXPECT_EQ(date->second, e.second);
  EXPECT_EQ(date->zone_minutes * 60, e.zone_seconds);
}

// Dates as real mail writes them. Every expectation agrees with Python's
// email.utils.parsedate_tz on the same text (year, month, day, hour, minute, second, offset).
TEST(MailDateParserTest, ReadsRealWorldDatesAsPythonsParserDoes) {
  const DateCase cases[] = {
      {"Tue, 3 Mar 2026 21:17:44 +0100", Expected{2026, 3, 3, 21, 17, 44, 3600}},
      {"3 Mar 2026 21:17:44 +0100", Expected{2026, 3, 3, 21, 17, 44, 3600}},
      {"Mon, 16 Mar 2026 17:45:09 +0100", Expected{2026, 3, 16, 17, 45, 9, 3600}},
      {"Wed, 01 Jan 2025 00:00:00 +0000", Expected{2025, 1, 1, 0, 0, 0, 0}},
      {"Fri, 31 Dec 1999 23:59:59 -0800 (PST)", Expected{1999, 12, 31, 23, 59, 59, -28800}},
      {"Thu, 13 Feb 2025 10:03:27 +0100 (CET)", Expected{2025, 2, 13, 10, 3, 27, 3600}},
      {"Sat, 29 Feb 2024 12:00:00 GMT", Expected{2024, 2, 29, 12, 0, 0, 0}},
      {"Sun, 6 Nov 1994 08:49:37 GMT", Expected{1994, 11, 6, 8, 49, 37, 0}},
      {"Tue, 14 May 2024 09:12:55 UT", Expected{2024, 5, 14, 9, 12, 55, 0}},
      {"Mon, 10 Jun 2024 14:30:00 EDT", Expected{2024, 6, 10, 14, 30, 0, -14400}},
      {"Mon, 2 Dec 2024 07:05:01 EST", Expected{2024, 12, 2, 7, 5, 1, -18000}},
      {"Wed, 17 Jul 2024 16:20:00 PDT", Expected{2024, 7, 17, 16, 20, 0, -25200}},
      {"Thu, 5 Dec 2024 11:00:00 CST", Expected{2024, 12, 5, 11, 0, 0, -21600}},
      {"Fri, 7 Mar 2025 08:15:00 MST", Expected{2025, 3, 7, 8, 15, 0, -25200}},
      {"Tue, 3 Mar 2026 21:17 +0100", Expected{2026, 3, 3, 21, 17, 0, 3600}},
      {"tue, 3 mar 2026 21:17:44 +0100", Expected{2026, 3, 3, 21, 17, 44, 3600}},
      {"TUE, 03 MAR 2026 21:17:44 +0100", Expected{2026, 3, 3, 21, 17, 44, 3600}},
      {"Tue,3 Mar 2026 21:17:44 +0100", Expected{2026, 3, 3, 21, 17, 44, 3600}},
      {"Tue 3 Mar 2026 21:17:44 +0100", Expected{2026, 3, 3, 21, 17, 44, 3600}},
      {"Tuesday, 3 March 2026 21:17:44 +0100", Expected{2026, 3, 3, 21, 17, 44, 3600}},
      {"Tue, 3 Mar 26 21:17:44 +0100", Expected{2026, 3, 3, 21, 17, 44, 3600}},
      {"Fri, 21 Nov 97 09:55:06 GMT", Expected{1997, 11, 21, 9, 55, 6, 0}},
      {"Tue,  3 Mar 2026  21:17:44   +0100", Expected{2026, 3, 3, 21, 17, 44, 3600}},
      {"Tue, 3 Mar 2026\r\n 21:17:44 +0100", Expected{2026, 3, 3, 21, 17, 44, 3600}},
      {"Tue, 3 Mar 2026 21:17:44 +0100 (Mitteleurop\xC3\xA4ische Zeit)", Expected{2026, 3, 3, 21, 17, 44, 3600}},
      {"Tue, 3 Mar 2026 21:17:44 +0530", Expected{2026, 3, 3, 21, 17, 44, 19800}},
      {"Tue, 3 Mar 2026 21:17:44 -0330", Expected{2026, 3, 3, 21, 17, 44, -12600}},
      {"Tue, 3 Mar 2026 21:17:44+0100", Expected{2026, 3, 3, 21, 17, 44, 3600}},
      {"Tue, 3 Mar 2026 21:17:44", Expected{2026, 3, 3, 21, 17, 44, 0}},
      {"Mar 3 2026 21:17:44 +0100", Expected{2026, 3, 3, 21, 17, 44, 3600}},
      {"Tue Mar  3 21:17:44 2026", Expected{2026, 3, 3, 21, 17, 44, 0}},
      {"03-Mar-26 21:17:44 GMT", Expected{2026, 3, 3, 21, 17, 44, 0}},
      {"Tue, 3 Mar 2026 21.17.44 +0100", Expected{2026, 3, 3, 21, 17, 44, 3600}},
      {"Tue, 3 Mar 2026 21:17:44 Z", Expected{2026, 3, 3, 21, 17, 44, 0}},
      {"Tue, 3 Mar 2026 21:17:44 -0000", Expected{2026, 3, 3, 21, 17, 44, 0}},
      {"Tue, 3 Mar 2026 21:17:44 +0100 +0100", Expected{2026, 3, 3, 21, 17, 44, 3600}},
      {"Sat, 31 Dec 2016 23:59:60 +0000", Expected{2016, 12, 31, 23, 59, 60, 0}},
      {"Tue, 3 Mar 2026", std::nullopt},
      {"Tue, 3 Foo 2026 21:17:44 +0100", std::nullopt},
      {"", std::nullopt},
      {"garbage", std::nullopt},
      {"Tue, 3 Mar 2026 xx:17:44 +0100", std::nullopt},
  };
  for (const DateCase& c : cases) ExpectParsed(c);
}

// Where RFC 5322 (4.3) decides otherwise than Python's parser: its year rules, comments anywhere,
// and fields in range only.
TEST(MailDateParserTest, FollowsTheRfcWherePythonDiffers) {
  const DateCase cases[] = {
      {"Tue, 3 Mar 49 21:17:44 +0100", Expected{2049, 3, 3, 21, 17, 44, 3600}},
      {"Thu, 3 Mar 55 21:17:44 +0100", Expected{1955, 3, 3, 21, 17, 44, 3600}},
      {"Wed, 3 Mar 104 21:17:44 +0100", Expected{2004, 3, 3, 21, 17, 44, 3600}},
      {"Tue (day), 3 (CET) Mar 2026 21:17:44 +0100", Expected{2026, 3, 3, 21, 17, 44, 3600}},
      {"Tue, 3 Mar 2026 21:17:44 +01:00", Expected{2026, 3, 3, 21, 17, 44, 3600}},
      {"Thu, 31 Apr 2026 10:00:00 +0100", std::nullopt},
      {"Sun, 29 Feb 2026 10:00:00 +0100", std::nullopt},
      {"Tue, 3 Mar 2026 24:00:00 +0100", std::nullopt},
      {"Tue, 3 Mar 2026 21:60:00 +0100", std::nullopt},
      {"Tue, 0 Mar 2026 21:17:44 +0100", std::nullopt},
      {"Tue, 3 Mar 1899 21:17:44 +0100", std::nullopt},
  };
  for (const DateCase& c : cases) ExpectParsed(c);
}

TEST(MailDateParserTest, MilitaryLettersMinusZeroAndUnknownNamesAreAnUnknownZone) {
  for (const char* zone : {"A", "m", "Z", "-0000", "CET", "+9960", ""}) {
    const std::optional<MailDateTime> date = ParseMailDate(std::string("Tue, 3 Mar 2026 21:17:44 ") + zone);
    ASSERT_TRUE(date.has_value()) << zone;
    EXPECT_FALSE(date->zone_known) << zone;
    EXPECT_EQ(SplitParsedDate(*date).rest, "21:17:44 -0000") << zone;
  }
  for (const char* zone : {"+0000", "GMT", "ut"}) {
    const std::optional<MailDateTime> date = ParseMailDate(std::string("Tue, 3 Mar 2026 21:17:44 ") + zone);
    ASSERT_TRUE(date.has_value()) << zone;
    EXPECT_EQ(SplitParsedDate(*date).rest, "21:17:44 +0000") << zone;
  }
}

TEST(SplitMailDateTest, ModernRowsShowTheReadDateAndFallBackToThePositionalSplit) {
  const SplitDateField modern = SplitMailDate("3 Mar 2026 21:17:44 +0100 (CET)", TextEncoding::kUtf8);
  EXPECT_EQ(DateColumnText(modern), "03.03.2026 21:17:44 +0100");
  EXPECT_EQ(MakeFileId(modern), "03_03_2026_21_17_44_+0100");
  EXPECT_EQ(DateColumnText(SplitMailDate("Fri, 21 Nov 97 09:55 EST", TextEncoding::kUtf8)),
            "21.11.1997 09:55:00 -0500");
  for (const char* date : {"3 Mar 2026 21:17:44 +0100", "Tue, 31 Apr 2026 10:00:00 +0100", "garbage", ""}) {
    const SplitDateField classic = SplitMailDate(date, TextEncoding::kClassic);
    EXPECT_EQ(DateColumnText(classic), DateColumnText(SplitDate(date))) << date;
  }
  EXPECT_EQ(DateColumnText(SplitMailDate("Tue, 31 Apr 2026 10:00:00 +0100", TextEncoding::kUtf8)),
            DateColumnText(SplitDate("Tue, 31 Apr 2026 10:00:00 +0100")));
  EXPECT_EQ(DateColumnText(SplitMailDate("3 Mar 2026 21:17:44 +0100", TextEncoding::kClassic)),
            "Mar.00.21:17:44 +0100");
}

}  // namespace
}  // namespace larkspin
