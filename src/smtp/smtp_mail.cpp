#include "smtp/smtp_mail.h"

#include <stdexcept>

#include "common/format.h"
#include "mime/header_word.h"
#include "mime/mail_date.h"
#include "platform/local_time.h"
#include "smtp/header_fold.h"
#include "smtp/header_line.h"
#include "smtp/sent_charset.h"

namespace larkspin {

std::vector<CSMTPRecipient>* CSMTPMail::ListOf(int type) {
  return const_cast<std::vector<CSMTPRecipient>*>(static_cast<const CSMTPMail*>(this)->ListOf(type));
}

const std::vector<CSMTPRecipient>* CSMTPMail::ListOf(int type) const {
  switch (type) {
    case kRecipientTo:
      return &to_;
    case kRecipientCc:
      return &cc_;
    case kRecipientBcc:
      return &bcc_;
    default:
      return nullptr;
  }
}

int CSMTPMail::AddRecipient(const CSMTPRecipient& recipient, int type) {
  std::vector<CSMTPRecipient>* list = ListOf(type);
  if (list == nullptr) return -1;
  list->push_back(recipient);
  return static_cast<int>(list->size()) - 1;
}

int CSMTPMail::RecipientCount(int type) const {
  const std::vector<CSMTPRecipient>* list = ListOf(type);
  return list == nullptr ? 0 : static_cast<int>(list->size());
}

const CSMTPRecipient& CSMTPMail::Recipient(int type, int index) const {
  const std::vector<CSMTPRecipient>* list = ListOf(type);
  if (list == nullptr) throw std::out_of_range("no such recipient type");
  return list->at(static_cast<size_t>(index));
}

void CSMTPMail::MakeRootMultipart() {
  root_.SetText(kMultipartPreamble);
  root_.SetContentType("multipart/mixed");
}

void CSMTPMail::EnableMime(bool on) {
  if (mime_ == on) return;
  mime_ = on;
  root_.RemoveSubParts();
  if (!on) return;
  const std::string text = root_.Text();
  MakeRootMultipart();
  if (!text.empty()) SetText(text);
}

void CSMTPMail::SetText(const std::string& text) {
  if (!mime_) {
    root_.SetText(text);
    return;
  }
  if (CSMTPPart* text_part = root_.FindSubPart("text/plain")) {
    text_part->SetText(text);
    return;
  }
  MakeRootMultipart();
  CSMTPPart text_part;
  text_part.SetCharset(root_.Charset());
  text_part.SetTextEncoding(root_.GetTextEncoding());
  text_part.SetText(text);
  root_.AddSubPart(text_part);
}

int CSMTPMail::AttachPart(const CSMTPPart& part) {
  EnableMime(true);
  return root_.AddSubPart(part);
}

std::string CSMTPMail::JoinedRecipients(int type) const {
  std::string joined;
  for (const CSMTPRecipient& recipient : *ListOf(type)) {
    if (!joined.empty()) joined += ", ";
    joined += recipient.GetRecipientText(true, root_.Charset(), root_.GetTextEncoding());
  }
  return joined;
}

std::string CSMTPMail::ContentHeaderLines() const {
  if (!mime_) {
    const std::string charset = SentCharsetOf(root_.Text(), root_.Charset(), root_.GetTextEncoding());
    return FormatText("Content-Type: %s;\r\n\tcharset=%s\r\n", WithoutLineBreaks(root_.ContentType()).c_str(),
                      WithoutLineBreaks(charset).c_str());
  }
  const std::string lines = root_.TransferEncodingLine();
  const std::string type = WithoutLineBreaks(root_.ContentType());
  if (root_.ChildCount() > 0) {
    return lines + "MIME-Version: 1.0\r\n" +
           FoldedHeaderLine("Content-Type: " + type + "; boundary=\"" + WithoutLineBreaks(root_.Boundary()) + "\"");
  }
  return lines + FormatText("MIME-Version: 1.0\r\nContent-Type: %s\r\n", type.c_str());
}

std::string CSMTPMail::RenderHeader() const { return RenderHeaderAt(LocalNow()); }

std::string CSMTPMail::RenderHeaderAt(const std::tm& local) const {
  const std::string& charset = root_.Charset();
  const TextEncoding encoding = root_.GetTextEncoding();
  const std::string subject = WithoutLineBreaks(subject_);
  std::string header = FoldedHeaderLine("From: " + from_.GetRecipientText(true, charset, encoding));
  header += FoldedHeaderLine("To: " + JoinedRecipients(kRecipientTo));
  const std::string cc = JoinedRecipients(kRecipientCc);
  if (!cc.empty()) header += FoldedHeaderLine("Cc: " + cc);
  header += FoldedHeaderLine("Subject: " + EncodeHeaderText(subject, SentCharsetOf(subject, charset, encoding), encoding));
  if (!mailer_.empty()) header += FoldedHeaderLine("X-Mailer: " + WithoutLineBreaks(mailer_));
  header += ContentHeaderLines();
  if (!reply_to_.Address().empty())
    header += FoldedHeaderLine("Reply-To: " + reply_to_.GetRecipientText(true, charset, encoding));
  header += "Date: " + FormatMailDate(local) + "\r\n";
  if (!in_reply_to_.empty()) header += FoldedHeaderLine("In-Reply-To: " + WithoutLineBreaks(in_reply_to_));
  if (!references_.empty()) header += FoldedHeaderLine("References: " + WithoutLineBreaks(references_));
  for (const std::string& line : extra_headers_) header += FoldedHeaderLine(WithoutLineBreaks(line));
  return header;
}

}  // namespace larkspin
