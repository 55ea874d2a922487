#pragma once
// What tells one message from another across connections. A message number names a message
// only within the connection that listed it: when anything else changes the mailbox in between
// (a phone or webmail deleting mail), the same number names another message on the next
// connection. A mark is carried out on a later connection only while its message still matches.
#include <cstdint>
#include <string>

#include "peek/peeked_message.h"

namespace larkspin {

struct MessageIdentity {
  std::string unique_id;   // from UIDL, empty where the server has none
  uint32_t size = 0;       // from LIST
  std::string message_id;  // the Message-ID field
  std::string date;        // the Date field
  std::string from;        // the From field
  bool header_read = true;  // false for a header too large to read: the fields above are empty
};

// The identity of a listed message: its UIDL id (empty for none), its size and its header.
MessageIdentity IdentityOf(const PeekedMessage& message);

// Whether now is the message seen: by the UIDL ids where both have one, otherwise by the size
// together with the Message-ID, or lacking one, with the Date and From fields; by the size alone
// where either header was too large to read.
bool SameMessage(const MessageIdentity& seen, const MessageIdentity& now);

}  // namespace larkspin
