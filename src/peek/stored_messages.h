#pragma once
// Which downloaded message file holds which message of an account, so that every message gets a
// file of its own and is found again: the peek's downloaded icon, "already stored" and the
// double-click all ask this.
//
// A message's first choice of file is the one named from its Date (its date file). A message is
// told by its identity as a mark is (message_identity.h): the UIDL id, else the Message-ID with
// the size, else the Date with the From field, read from the file's "Sent: " and "From: " lines.
// A file from an earlier version, which the stored list does not name, holds the message only when
// its From, Sent and Subject lines are the message's.
#include <string>

#include "common/text_encoding.h"
#include "mailbox/message_file.h"
#include "mailbox/stored_list.h"
#include "peek/message_identity.h"
#include "mime/mail_header.h"

namespace larkspin {

// The header lines a message is stored with: From and Subject decoded, the others as received;
// in Modern mode every field is UTF-8 and the encoded words of To and Cc are decoded too.
StoredMessageHeader StoredHeaderOf(const CMailHeader& header, TextEncoding encoding);

class CStoredMessages {
 public:
  explicit CStoredMessages(int account_number);

  // The message file ("mailbox<N>/...") that holds the message whose header is header, or empty
  // when none does; file_id names its date file (mailbox_layout.h).
  std::string FileOf(const CMailHeader& header, const MessageIdentity& identity, const std::string& file_id,
                     TextEncoding encoding) const;
  // Where a new download of a message whose date file is date_file goes: date_file when there is
  // no such file, else the first free of "..._2.txt", "..._3.txt", ...
  std::string FreeFile(const std::string& date_file) const;
  // Records that file holds the message; false when the list could not be written.
  bool Record(const MessageIdentity& identity, const std::string& last_reference, const std::string& file);

 private:
  bool EntryHolds(const StoredListEntry& entry, const MessageIdentity& identity,
                  const StoredMessageHeader& header) const;
  std::string PathOf(const std::string& file) const;

  int account_number_;
  CStoredList list_;
};

}  // namespace larkspin
