#pragma once
// The Date header value both ways: a received one split into the list's display date and the
// rest (and the id of the stored message file made from them), a sent one formatted with English
// day and month names whatever the locale and the zone as the offset east of UTC.
#include <ctime>
#include <string>
#include <string_view>

#include "common/text_encoding.h"
#include "mime/mail_date_parser.h"

namespace larkspin {

struct SplitDateField {
  std::string display_date;  // "dd.mm.yyyy", e.g. "02.03.2004"
  std::string rest;          // the text after the fourth blank, e.g. "10:11:12 +0100"
};

// Splits a Date value such as "Tue, 2 Mar 2004 10:11:12 +0100" at its first four blanks. The
// fields are taken by position, so a date without the weekday comes out one field off.
SplitDateField SplitDate(std::string_view date);

// The display date "dd.mm.yyyy" and the rest "hh:mm:ss +zzzz" of a read date ("-0000" for an
// unknown zone).
SplitDateField SplitParsedDate(const MailDateTime& date);

// The split the list, its sorting and the message file names use: with TextEncoding::kUtf8 the
// date as ParseMailDate reads it, falling back to SplitDate for a value it cannot read; with
// kClassic SplitDate always.
SplitDateField SplitMailDate(std::string_view date, TextEncoding encoding);

// The Date column text: display date, a blank, the rest.
std::string DateColumnText(const SplitDateField& date);

// The Date column text with every blank, ".", "/" and ":" turned into "_".
std::string FileIdOfDateText(std::string_view date_text);

// The file id of a split date, e.g. "02_03_2004_10_11_12_+0100".
std::string MakeFileId(const SplitDateField& date);

// "+hhmm" or "-hhmm" for an offset east of UTC in seconds; zero gives "+0000".
std::string FormatZoneOffset(long seconds_east);

// "Mon, 07 Dec 2026 10:48:37 +0100" for a broken-down local time (its tm_gmtoff gives the zone).
std::string FormatMailDate(const std::tm& local);

}  // namespace larkspin
