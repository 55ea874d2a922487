#pragma once
// One address of an outgoing mail: a display name (may be empty) and the address used alone on
// the SMTP wire.
#include <string>
#include <string_view>

#include "common/text_encoding.h"

namespace larkspin {

class CSMTPRecipient {
 public:
  CSMTPRecipient() = default;
  CSMTPRecipient(std::string friendly_name, std::string address)
      : friendly_name_(std::move(friendly_name)), address_(std::move(address)) {}

  // The address alone when there is no name, else "name <address>", the name passed through
  // EncodeHeaderText with charset and encoding when encode is set. Line breaks become blanks.
  std::string GetRecipientText(bool encode, std::string_view charset,
                               TextEncoding encoding = TextEncoding::kClassic) const;

  const std::string& FriendlyName() const { return friendly_name_; }
  const std::string& Address() const { return address_; }

 private:
  std::string friendly_name_;
  std::string address_;
};

}  // namespace larkspin
