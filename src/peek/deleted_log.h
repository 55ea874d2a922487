#pragma once
// deleted.log in the working folder: one line for every message deleted on the server, by hand
// or by a rule, appended before its DELE is sent, so nothing goes without a trace. A line holds
// nine fields separated by tabs, in UTF-8:
//
//   time  account  UIDL  Message-ID  From  Subject  Date  size  rule
//
// time is the local time of the deletion ("2026-03-05 18:00:12 +0100"), From the sender as
// "Name <address>" (or the address alone), Date the Date field as written, size the octets of
// LIST, and rule the name of the rule that marked it or "by hand". In a field, "\" is written
// "\\", a tab "\t", a line feed "\n" and a carriage return "\r", so each message stays one line.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "peek/peeked_message.h"

namespace larkspin {

inline constexpr const char* kDeletedLogFile = "deleted.log";
inline constexpr const char* kDeletedByHand = "by hand";

struct DeletedMessage {
  std::string time;  // set when the line is written
  std::string account;
  std::string unique_id;
  std::string message_id;
  std::string from;
  std::string subject;
  std::string date;
  uint32_t size = 0;
  std::string rule;  // empty: marked by hand
  bool operator==(const DeletedMessage&) const = default;
};

// What the record says of message listed for account_name, without the time and the rule; the
// texts as UTF-8.
DeletedMessage DeletedMessageOf(const PeekedMessage& message, const std::string& account_name);

// The line of message, without its line end.
std::string DeletedLogLine(const DeletedMessage& message);
// The message of a line (without its line end); nullopt for a line of fewer than nine fields or
// with a size that is not a number.
std::optional<DeletedMessage> ParseDeletedLogLine(std::string_view line);

// Appends message's line, stamped with the local time now, to the record at path (created 0600
// when missing) and waits until it is on the disk. False when it could not be written.
bool AppendToDeletedLog(const std::string& path, DeletedMessage message);
// Every readable line of the record at path, oldest first; none when it cannot be opened.
std::vector<DeletedMessage> ReadDeletedLog(const std::string& path);

}  // namespace larkspin
