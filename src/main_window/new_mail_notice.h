#pragma once
// The desktop notification of new mail: how many messages came, and who wrote about what in the
// first few of them.
#include <cstddef>
#include <string>
#include <vector>

#include "config/language_table.h"

namespace larkspin {

// A new message as the notification names it; UTF-8.
struct NewMessageLine {
  std::string sender;
  std::string subject;
};

// The replaceable texts, from section "Messages" of language.ini.
struct NewMailNoticeTexts {
  std::string one_message = "1 new message";
  std::string messages = "%d new messages";  // more than one
  std::string more = "and %d more";          // below the lines of the first messages
};
NewMailNoticeTexts ReadNewMailNoticeTexts(const CLanguageTable& language);

struct NewMailNotice {
  std::string title;
  std::string text;
};

// The messages named one per line, "Sender: Subject".
inline constexpr size_t kNoticeMessageLines = 3;
// Each sender and subject at most this many bytes, longer ones cut with "...".
inline constexpr size_t kNoticeFieldBytes = 80;

// The title counts the messages; the text names the first kNoticeMessageLines of them and says
// how many more there are. Control characters in senders and subjects become blanks.
NewMailNotice MakeNewMailNotice(const std::vector<NewMessageLine>& messages, const NewMailNoticeTexts& texts);

}  // namespace larkspin
