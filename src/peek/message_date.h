#pragma once
// The Date header split into the list's display date and the rest, and the id of the stored
// message file made from them.
#include <string>
#include <string_view>

namespace larkspin {

struct SplitDateField {
  std::string display_date;  // "dd.mm.yyyy", e.g. "02.03.2004"
  std::string rest;          // the text after the fourth blank, e.g. "10:11:12 +0100"
};

// Splits a Date value such as "Tue, 2 Mar 2004 10:11:12 +0100" at its first four blanks. The
// fields are taken by position, so a date without the weekday comes out one field off.
SplitDateField SplitDate(std::string_view date);

// The Date column text: display date, a blank, the rest.
std::string DateColumnText(const SplitDateField& date);

// The Date column text with every blank, ".", "/" and ":" turned into "_".
std::string FileIdOfDateText(std::string_view date_text);

// The file id of a split date, e.g. "02_03_2004_10_11_12_+0100".
std::string MakeFileId(const SplitDateField& date);

}  // namespace larkspin
