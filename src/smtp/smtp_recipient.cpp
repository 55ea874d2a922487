#include "smtp/smtp_recipient.h"

#include "mime/header_word.h"
#include "smtp/header_line.h"
#include "smtp/sent_charset.h"

namespace larkspin {

std::string CSMTPRecipient::GetRecipientText(bool encode, std::string_view charset, TextEncoding encoding) const {
  const std::string address = WithoutLineBreaks(address_);
  if (friendly_name_.empty()) return address;
  const std::string name = WithoutLineBreaks(friendly_name_);
  if (!encode) return name + " <" + address + ">";
  return EncodeHeaderText(name, SentCharsetOf(name, charset, encoding), encoding) + " <" + address + ">";
}

}  // namespace larkspin
