#include "peek/message_identity.h"

namespace larkspin {

MessageIdentity IdentityOf(const PeekedMessage& message) {
  const CMailHeader& header = message.header;
  return {message.unique_id, message.size, message.message_id, header.First("Date"), header.First("From"),
          message.header_read};
}

bool SameMessage(const MessageIdentity& seen, const MessageIdentity& now) {
  if (!seen.unique_id.empty() && !now.unique_id.empty()) return seen.unique_id == now.unique_id;
  if (seen.size != now.size) return false;
  if (!seen.header_read || !now.header_read) return true;
  if (!seen.message_id.empty() || !now.message_id.empty()) return seen.message_id == now.message_id;
  return seen.date == now.date && seen.from == now.from;
}

}  // namespace larkspin
