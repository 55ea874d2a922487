#pragma once
// The recipient fields of the compose window as the send step reads them: ";" and "," both
// separate addresses, blanks are removed, and a field without "@" is no address.
#include <string>
#include <string_view>
#include <vector>

namespace larkspin {

// The field text with every ";" replaced by "," and every blank removed.
std::string NormalizeRecipientText(std::string_view text);
// The fields of a normalized text (split at ",") that contain "@", in their order.
std::vector<std::string> RecipientAddresses(std::string_view normalized);
// A normalized text as the sent copy lists it: every "," followed by a blank.
std::string SentCopyRecipientText(std::string_view normalized);

}  // namespace larkspin
