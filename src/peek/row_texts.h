#pragma once
// The texts of one header-list row, made from a listed message's facts: the five column texts and
// the values the row's record needs. Shared by the main window and the command line.
#include <cstdint>
#include <string>

#include "common/text_encoding.h"
#include "peek/peeked_message.h"

namespace larkspin {

struct RowTexts {
  std::string from;            // From column: the decoded display name
  std::string subject;         // Subject column: the decoded subject
  std::string date;            // Date column: display date, a blank, the rest of the Date field
  std::string account;         // Account column: the account's display name
  std::string size;            // Size column: whole kilobytes and "k"
  std::string sender_address;  // the text between "<" and ">" of the decoded From, or all of it
  std::string file_id;         // id of the message's date file (stored_messages.h)
  std::string local_file;      // the message's stored file, set by the caller (CStoredMessages), else empty
  TextEncoding encoding = TextEncoding::kClassic;  // how the texts above are held
};

// Row texts of a listed message (held in its encoding); account_name is the account's display
// name. With TextEncoding::kUtf8 every text is valid UTF-8: From and Subject decoded by
// DecodeEncodedWords, the others read by AsUtf8. A header too large to read gives
// HeaderTooLargeRowTexts.
RowTexts MakeRowTexts(const PeekedMessage& message, const std::string& account_name);
// The id of the message's date file (RowTexts::file_id) and the address part of its decoded
// From (RowTexts::sender_address), without the other texts; the id is empty for a header too
// large to read.
std::string FileIdOf(const PeekedMessage& message);
std::string SenderAddressOf(const PeekedMessage& message);

// The decoded From field with every double quote removed.
std::string DecodedSender(const std::string& from_field, TextEncoding encoding = TextEncoding::kClassic);
// The address part of a decoded sender: between the first "<" and the next ">", or all of it.
std::string SenderAddress(const std::string& sender);
// The display name of a decoded sender: the text before the character that precedes its first
// "<", unless that "<" is the first character (then, or without "<", the whole sender).
std::string SenderDisplayName(const std::string& sender);
// The size in octets as whole kilobytes rounded to nearest, followed by "k".
std::string SizeText(uint32_t size);

}  // namespace larkspin
