#include "peek/peeked_message.h"

#include <charconv>

#include "common/string_tools.h"
#include "mime/header_word.h"

namespace larkspin {

namespace {
std::vector<MailAddress> DecodedAddresses(const std::string& value, TextEncoding encoding) {
  std::vector<MailAddress> addresses = ParseAddressList(value);
  for (MailAddress& address : addresses) address.display_name = DecodedHeaderValue(address.display_name, encoding);
  return addresses;
}

std::optional<double> NumberAt(std::string_view text) {
  text = Trimmed(text, " \t");
  if (text.starts_with('+')) text.remove_prefix(1);
  double number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end == text.data()) return std::nullopt;
  return number;
}

// The number that follows key in text ("required=" in X-Spam-Status), if any.
std::optional<double> NumberAfter(std::string_view text, std::string_view key) {
  const size_t at = text.find(key);
  return at == std::string_view::npos ? std::nullopt : NumberAt(text.substr(at + key.size()));
}

SpamVerdict SpamVerdictOf(const CMailHeader& header) {
  SpamVerdict spam;
  const std::string flag = header.First("X-Spam-Flag");
  if (EqualsIgnoringCase(flag, "YES")) spam.flagged = true;
  if (EqualsIgnoringCase(flag, "NO")) spam.flagged = false;
  spam.status = header.First("X-Spam-Status");
  spam.score = NumberAt(header.First("X-Spam-Score"));
  if (!spam.score) spam.score = NumberAfter(spam.status, "score=");
  if (!spam.score) spam.score = NumberAfter(spam.status, "hits=");
  spam.required = NumberAfter(spam.status, "required=");
  return spam;
}
}  // namespace

PeekedMessage MakePeekedMessage(int number, const std::string& unique_id, uint32_t size, std::string header,
                                TextEncoding encoding) {
  PeekedMessage message = HeaderTooLargeMessage(number, unique_id, size, encoding);
  message.header_read = true;
  message.header = CMailHeader(std::move(header));
  const CMailHeader& fields = message.header;
  const std::vector<MailAddress> from = DecodedAddresses(fields.First("From"), encoding);
  if (!from.empty()) message.from = from.front();
  message.to = DecodedAddresses(fields.First("To"), encoding);
  message.cc = DecodedAddresses(fields.First("Cc"), encoding);
  message.reply_to = DecodedAddresses(fields.First("Reply-To"), encoding);
  message.subject = DecodedHeaderValue(fields.First("Subject"), encoding);
  message.date = ParseMailDate(fields.First("Date"));
  message.message_id = fields.First("Message-ID");
  message.in_reply_to = fields.First("In-Reply-To");
  message.list_id = fields.First("List-Id");
  message.list_unsubscribe = fields.First("List-Unsubscribe");
  message.list_unsubscribe_post = fields.First("List-Unsubscribe-Post");
  message.spam = SpamVerdictOf(fields);
  message.authentication = ParseAuthenticationResults(fields.First("Authentication-Results"));
  return message;
}

PeekedMessage HeaderTooLargeMessage(int number, const std::string& unique_id, uint32_t size, TextEncoding encoding) {
  PeekedMessage message;
  message.number = number;
  message.unique_id = unique_id;
  message.size = size;
  message.header_read = false;
  message.encoding = encoding;
  return message;
}

}  // namespace larkspin
