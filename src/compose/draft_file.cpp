#include "compose/draft_file.h"

#include "common/format.h"
#include "common/string_tools.h"
#include "compose/sent_copy.h"
#include "platform/file_system.h"
#include "res/resources.h"

namespace larkspin {

namespace {
constexpr std::string_view kLineEnd = "\r\n";

std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

// The sent copy puts a blank after every ","; this is the one inverse of that.
std::string TypedRecipients(std::string listed) {
  ReplaceAll(listed, ", ", ",", ReplaceScope::kAll);
  return listed;
}

// The value of the header line at position, when it begins with label; empty otherwise. position
// moves past the line.
std::string HeaderValue(std::string_view content, size_t& position, std::string_view label) {
  const size_t end = content.find(kLineEnd, position);
  const std::string_view line = content.substr(position, end == std::string_view::npos ? end : end - position);
  position = end == std::string_view::npos ? content.size() : end + kLineEnd.size();
  return line.starts_with(label) ? std::string(line.substr(label.size())) : std::string();
}
}  // namespace

std::string DraftFolderPath(int account_number) {
  return WorkingDirectory() + FormatText("mailbox%d/drafts/", account_number);
}

std::string NewDraftPath(int account_number, const std::tm& local) {
  const std::string stem = DraftFolderPath(account_number) + "msg" + SentCopyStamp(local);
  std::string path = stem + ".txt";
  for (int number = 2; FileExists(path); ++number) path = stem + FormatText("_%d.txt", number);
  return path;
}

bool IsDraftOfAccount(const std::string& path, int account_number) {
  const std::string folder = DraftFolderPath(account_number);
  return path.starts_with(folder) && path.find('/', folder.size()) == std::string::npos;
}

std::string RenderDraft(const ComposedMail& mail, const std::tm& local) {
  SentCopy copy;
  copy.to = OneLine(mail.to);
  copy.cc = OneLine(mail.cc);
  copy.bcc = OneLine(mail.bcc);
  copy.stamp = SentCopyStamp(local);
  copy.subject = OneLine(mail.subject);
  copy.text = mail.text;
  copy.attachments = OneLine(mail.attachments);
  return RenderSentCopy(copy);
}

bool WriteDraft(const std::string& path, const ComposedMail& mail, const std::tm& local) {
  return ReplaceFile(path, RenderDraft(mail, local));
}

ComposedMail ReadDraft(std::string_view content) {
  ComposedMail mail;
  size_t position = 0;
  mail.to = TypedRecipients(HeaderValue(content, position, "To: "));
  mail.cc = TypedRecipients(HeaderValue(content, position, "Cc: "));
  mail.bcc = TypedRecipients(HeaderValue(content, position, "Bcc: "));
  HeaderValue(content, position, "Sent: ");
  mail.subject = HeaderValue(content, position, "Subject: ");
  HeaderValue(content, position, "");  // the empty line after the header
  const std::string opening = std::string(kLineEnd) + std::string(kLineEnd) + LoadResourceString(kStringAttachmentsOpening);
  const std::string closing = LoadResourceString(kStringAttachmentsClosing) + std::string(kLineEnd);
  const size_t attachments = content.rfind(opening);
  if (attachments == std::string_view::npos || attachments < position || !content.ends_with(closing)) {
    mail.text = std::string(content.substr(position));
    return mail;
  }
  mail.text = std::string(content.substr(position, attachments - position));
  const size_t names = attachments + opening.size();
  mail.attachments = std::string(content.substr(names, content.size() - closing.size() - names));
  return mail;
}

}  // namespace larkspin
