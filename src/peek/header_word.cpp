#include "peek/header_word.h"

#include "common/string_tools.h"
#include "mailbox/quoted_printable.h"

namespace larkspin {

void DecodeHeaderWord(std::string& value) {
  std::string inner = Between(value, "=?iso-8859-1?q?", "?=");
  if (inner.empty()) inner = Between(value, "=?ISO-8859-1?Q?", "?=");
  if (inner.empty()) return;
  DecodeQuotedPrintable(inner);
  value = std::move(inner);
}

}  // namespace larkspin
