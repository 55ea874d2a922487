#include "peek/row_texts.h"

#include <algorithm>

#include "common/format.h"
#include "common/string_tools.h"
#include "common/windows_1252.h"
#include "mime/header_word.h"
#include "mime/mail_date.h"

namespace larkspin {

std::string DecodedSender(const std::string& from_field, TextEncoding encoding) {
  std::string sender = DecodedHeaderValue(from_field, encoding);
  std::erase(sender, '"');
  return sender;
}

std::string SenderAddress(const std::string& sender) {
  std::string address = Between(sender, "<", ">");
  return address.empty() ? sender : address;
}

std::string SenderDisplayName(const std::string& sender) {
  const size_t bracket = sender.find('<');
  if (bracket == std::string::npos || bracket == 0) return sender;
  return sender.substr(0, bracket - 1);
}

std::string SizeText(uint32_t size) { return FormatText("%.0lfk", size * (1.0 / 1024)); }

RowTexts MakeRowTexts(const CPop3Text& header, uint32_t size, const std::string& account_name,
                      TextEncoding encoding) {
  const bool utf8 = encoding == TextEncoding::kUtf8;
  const SplitDateField date = SplitMailDate(header.HeaderField("Date"), encoding);
  const std::string sender = DecodedSender(header.HeaderField("From"), encoding);
  RowTexts texts;
  texts.encoding = encoding;
  texts.from = SenderDisplayName(sender);
  texts.subject = DecodedHeaderValue(header.HeaderField("Subject"), encoding);
  texts.date = utf8 ? AsUtf8(DateColumnText(date)) : DateColumnText(date);
  texts.account = utf8 ? AsUtf8(account_name) : account_name;
  texts.size = SizeText(size);
  texts.sender_address = SenderAddress(sender);
  texts.file_id = MakeFileId(date);
  return texts;
}

}  // namespace larkspin
