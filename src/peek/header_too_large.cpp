#include "peek/header_too_large.h"

#include "common/format.h"
#include "common/windows_1252.h"
#include "pop3/pop3_client.h"

namespace larkspin {

std::string HeaderTooLargeNote() {
  return FormatText("(header larger than %zu MiB: not shown)", CPop3Client::kMaxHeaderReply >> 20);
}

RowTexts HeaderTooLargeRowTexts(uint32_t size, const std::string& account_name, TextEncoding encoding) {
  RowTexts texts;
  texts.encoding = encoding;
  texts.subject = HeaderTooLargeNote();
  texts.account = encoding == TextEncoding::kUtf8 ? AsUtf8(account_name) : account_name;
  texts.size = SizeText(size);
  return texts;
}

}  // namespace larkspin
