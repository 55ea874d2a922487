#include "peek/row_texts.h"

#include <algorithm>

#include "common/format.h"
#include "common/string_tools.h"
#include "common/windows_1252.h"
#include "mime/header_word.h"
#include "mime/mail_date.h"
#include "peek/header_too_large.h"

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

namespace {
SplitDateField SplitDateOf(const PeekedMessage& message) {
  return SplitMailDate(message.header.First("Date"), message.encoding);
}

std::string DecodedSenderOf(const PeekedMessage& message) {
  return DecodedSender(message.header.First("From"), message.encoding);
}
}  // namespace

RowTexts MakeRowTexts(const PeekedMessage& message, const std::string& account_name) {
  const TextEncoding encoding = message.encoding;
  if (!message.header_read) return HeaderTooLargeRowTexts(message.size, account_name, encoding);
  const bool utf8 = encoding == TextEncoding::kUtf8;
  const SplitDateField date = SplitDateOf(message);
  const std::string sender = DecodedSenderOf(message);
  RowTexts texts;
  texts.encoding = encoding;
  texts.from = SenderDisplayName(sender);
  texts.subject = message.subject;
  texts.date = utf8 ? AsUtf8(DateColumnText(date)) : DateColumnText(date);
  texts.account = utf8 ? AsUtf8(account_name) : account_name;
  texts.size = SizeText(message.size);
  texts.sender_address = SenderAddress(sender);
  texts.file_id = MakeFileId(date);
  return texts;
}

std::string FileIdOf(const PeekedMessage& message) {
  return message.header_read ? MakeFileId(SplitDateOf(message)) : std::string();
}

std::string SenderAddressOf(const PeekedMessage& message) { return SenderAddress(DecodedSenderOf(message)); }

}  // namespace larkspin
