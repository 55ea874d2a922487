// Fuzz target: the Date split, the read date and the file id. A file id never holds a blank, ".",
// "/" or ":", so a message file name never leaves its account folder; a date that is read has
// every field in range, and its split is "dd.mm.yyyy" and "hh:mm:ss +zzzz".
#include <cstdlib>
#include <optional>
#include <string>

#include "mime/mail_date.h"

namespace {

void CheckFileId(const larkspin::SplitDateField& split, size_t size) {
  const std::string id = larkspin::MakeFileId(split);
  if (id.find_first_of(" ./:") != std::string::npos) std::abort();
  if (id.size() != larkspin::DateColumnText(split).size()) std::abort();
  if (split.rest.size() > size) std::abort();
}

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

void CheckReadDate(const larkspin::MailDateTime& date) {
  if (!InRange(date.year, 1900, 9999) || !InRange(date.month, 1, 12) || !InRange(date.day, 1, 31) ||
      !InRange(date.hour, 0, 23) || !InRange(date.minute, 0, 59) || !InRange(date.second, 0, 60) ||
      !InRange(date.zone_minutes, -5999, 5999) || (!date.zone_known && date.zone_minutes != 0))
    std::abort();
  const larkspin::SplitDateField split = larkspin::SplitParsedDate(date);
  if (split.display_date.size() != 10 || split.rest.size() != 14) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string date(reinterpret_cast<const char*>(data), size);
  CheckFileId(larkspin::SplitDate(date), size);
  const std::optional<larkspin::MailDateTime> read = larkspin::ParseMailDate(date);
  if (read) CheckReadDate(*read);
  const larkspin::SplitDateField modern = larkspin::SplitMailDate(date, larkspin::TextEncoding::kUtf8);
  if (read) {
    if (larkspin::MakeFileId(modern).find_first_of(" ./:") != std::string::npos) std::abort();
  } else {
    CheckFileId(modern, size);
  }
  return 0;
}
