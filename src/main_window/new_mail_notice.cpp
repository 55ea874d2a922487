#include "main_window/new_mail_notice.h"

#include <algorithm>

#include "common/format.h"
#include "common/quoted_server_text.h"

namespace larkspin {

namespace {
std::string NoticeLine(const NewMessageLine& message) {
  std::string line = QuotedServerText(message.sender, kNoticeFieldBytes);
  if (!message.subject.empty()) line += ": " + QuotedServerText(message.subject, kNoticeFieldBytes);
  return line;
}
}  // namespace

NewMailNoticeTexts ReadNewMailNoticeTexts(const CLanguageTable& language) {
  const NewMailNoticeTexts defaults;
  NewMailNoticeTexts texts;
  texts.one_message = language.Text("Messages", "NewMailOne", defaults.one_message);
  texts.messages = language.Template("Messages", "NewMailCount", defaults.messages);
  texts.more = language.Template("Messages", "NewMailMore", defaults.more);
  return texts;
}

NewMailNotice MakeNewMailNotice(const std::vector<NewMessageLine>& messages, const NewMailNoticeTexts& texts) {
  const int count = static_cast<int>(messages.size());
  NewMailNotice notice;
  notice.title = count == 1 ? texts.one_message : FormatText(texts.messages.c_str(), count);
  const size_t named = std::min(messages.size(), kNoticeMessageLines);
  for (size_t i = 0; i < named; ++i) {
    if (i > 0) notice.text += '\n';
    notice.text += NoticeLine(messages[i]);
  }
  if (messages.size() > named)
    notice.text += '\n' + FormatText(texts.more.c_str(), static_cast<int>(messages.size() - named));
  return notice;
}

}  // namespace larkspin
