#pragma once
// The facts of one listed message, made once from its header ("TOP n 0") and from LIST and UIDL:
// what a peek knows about a message before any of it is downloaded. The window, the command line
// and whatever screens mail read these instead of the header; texts are made from them where
// they are shown. Anything not named here is in the raw header.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "mime/authentication_results.h"
#include "mime/mail_address.h"
#include "mime/mail_date_parser.h"
#include "mime/mail_header.h"

namespace larkspin {

// What the server's spam filter wrote (SpamAssassin's fields, which most servers use).
struct SpamVerdict {
  std::optional<bool> flagged;  // X-Spam-Flag: YES or NO, any case; nullopt without it
  std::string status;           // X-Spam-Status, unfolded: "Yes, score=7.1 required=5.0 ..."
  std::optional<double> score;     // X-Spam-Score, else the score= (older: hits=) of X-Spam-Status
  std::optional<double> required;  // the required= of X-Spam-Status: the score from which it says Yes
};

struct PeekedMessage {
  int number = 0;          // the server's number in the connection that listed it
  std::string unique_id;   // from UIDL, empty where the server has none
  uint32_t size = 0;       // from LIST
  bool header_read = true;  // false for a header too large to read: every field below is empty
  TextEncoding encoding = TextEncoding::kClassic;  // how the decoded texts are held

  MailAddress from;  // the first From address, its display name decoded
  std::vector<MailAddress> to;
  std::vector<MailAddress> cc;
  std::vector<MailAddress> reply_to;
  std::string subject;                // decoded as the charsets ask (header_word.h)
  std::optional<MailDateTime> date;   // nullopt without a Date field or when it cannot be read
  std::string message_id;             // as written, with its angle brackets
  std::string in_reply_to;
  std::string list_id;
  std::string list_unsubscribe;       // the "<mailto:...>, <https://...>" list as written
  std::string list_unsubscribe_post;  // "List-Unsubscribe=One-Click" for a one-click unsubscribe
  SpamVerdict spam;
  AuthenticationResults authentication;  // of the first (the receiving server's) Authentication-Results
  CMailHeader header;                    // the raw header, every field
};

// The facts of message number, whose header text (without the empty line that ends it) is header.
PeekedMessage MakePeekedMessage(int number, const std::string& unique_id, uint32_t size, std::string header,
                                TextEncoding encoding);

// The facts of a message whose header was too large to read: its number, id and size alone.
PeekedMessage HeaderTooLargeMessage(int number, const std::string& unique_id, uint32_t size, TextEncoding encoding);

}  // namespace larkspin
