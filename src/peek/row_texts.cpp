#include "peek/row_texts.h"

#include <algorithm>

#include "common/format.h"
#include "common/string_tools.h"
#include "mailbox/mailbox_layout.h"
#include "mime/header_word.h"
#include "mime/mail_date.h"
#include "platform/file_system.h"

namespace larkspin {

std::string DecodedSender(const std::string& from_field) {
  std::string sender = from_field;
  DecodeHeaderWord(sender);
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

RowTexts MakeRowTexts(const CPop3Text& header, uint32_t size, int account_number, const std::string& account_name) {
  const SplitDateField date = SplitDate(header.HeaderField("Date"));
  const std::string sender = DecodedSender(header.HeaderField("From"));
  RowTexts texts;
  texts.from = SenderDisplayName(sender);
  texts.subject = header.HeaderField("Subject");
  DecodeHeaderWord(texts.subject);
  texts.date = DateColumnText(date);
  texts.account = account_name;
  texts.size = SizeText(size);
  texts.sender_address = SenderAddress(sender);
  texts.file_id = MakeFileId(date);
  const std::string message_file = MessageFilePath(account_number, texts.file_id);
  if (FileExists(message_file)) texts.local_file = message_file;
  return texts;
}

}  // namespace larkspin
