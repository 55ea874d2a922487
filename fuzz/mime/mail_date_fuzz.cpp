// Fuzz target: the Date split and the file id. A file id never holds a blank, ".", "/" or ":",
// so a message file name never leaves its account folder.
#include <cstdlib>
#include <string>

#include "mime/mail_date.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string date(reinterpret_cast<const char*>(data), size);
  const larkspin::SplitDateField split = larkspin::SplitDate(date);
  const std::string id = larkspin::MakeFileId(split);
  if (id.find_first_of(" ./:") != std::string::npos) std::abort();
  if (id.size() != larkspin::DateColumnText(split).size()) std::abort();
  if (split.rest.size() > size) std::abort();
  return 0;
}
