#pragma once
// An outgoing mail: sender, three recipient lists, subject, mailer name, reply address, extra
// header lines and the root body part. Without attachments it is a single text/plain part; with
// MIME enabled the root becomes multipart/mixed and the text moves into a text/plain child.
#include <ctime>
#include <string>
#include <vector>

#include "smtp/smtp_part.h"
#include "smtp/smtp_recipient.h"

namespace larkspin {

enum RecipientType : int { kRecipientTo = 0, kRecipientCc = 1, kRecipientBcc = 2 };

class CSMTPMail {
 public:
  static constexpr const char* kMultipartPreamble = "This is a multi-part message in MIME format";

  CSMTPMail() = default;
  CSMTPMail(const CSMTPMail&) = delete;
  CSMTPMail& operator=(const CSMTPMail&) = delete;

  // The header block in transmission order, each line ending with CR LF; the empty line that
  // ends it is sent by the connection. The Bcc list never appears.
  std::string RenderHeader() const;
  // The same for a given local time (its tm_gmtoff gives the zone).
  std::string RenderHeaderAt(const std::tm& local) const;

  void SetCharset(std::string charset) { root_.SetCharset(std::move(charset)); }
  // kUtf8: subject, names and text are UTF-8 already (the charset should be UTF-8 then).
  void SetTextEncoding(TextEncoding encoding) { root_.SetTextEncoding(encoding); }
  // Appends a copy to the list of type and returns its index; another type returns -1.
  int AddRecipient(const CSMTPRecipient& recipient, int type);
  int RecipientCount(int type) const;
  const CSMTPRecipient& Recipient(int type, int index) const;
  void AddExtraHeader(std::string line) { extra_headers_.push_back(std::move(line)); }
  // Enables MIME and appends a copy of part to the root's children; returns the child's index.
  int AttachPart(const CSMTPPart& part);
  void EnableMime(bool on);
  void SetText(const std::string& text);
  const std::string& GetText() const { return root_.Text(); }

  void SetFrom(CSMTPRecipient from) { from_ = std::move(from); }
  void SetSubject(std::string subject) { subject_ = std::move(subject); }
  void SetMailer(std::string mailer) { mailer_ = std::move(mailer); }
  void SetReplyTo(CSMTPRecipient reply_to) { reply_to_ = std::move(reply_to); }
  // The ids of the message this one answers: "In-Reply-To" and "References" lines after the
  // Date, each only when its value is not empty.
  void SetReplyIds(std::string in_reply_to, std::string references) {
    in_reply_to_ = std::move(in_reply_to);
    references_ = std::move(references);
  }

  const CSMTPRecipient& From() const { return from_; }
  const std::string& Subject() const { return subject_; }
  bool MimeEnabled() const { return mime_; }
  const CSMTPPart& Root() const { return root_; }

 private:
  std::vector<CSMTPRecipient>* ListOf(int type);
  const std::vector<CSMTPRecipient>* ListOf(int type) const;
  std::string JoinedRecipients(int type) const;
  std::string ContentHeaderLines() const;
  void MakeRootMultipart();

  CSMTPRecipient from_;
  std::string subject_;
  std::string mailer_ = "CSMTPConnection v2.37";
  CSMTPRecipient reply_to_;
  std::string in_reply_to_;
  std::string references_;
  CSMTPPart root_;
  std::vector<CSMTPRecipient> to_;
  std::vector<CSMTPRecipient> cc_;
  std::vector<CSMTPRecipient> bcc_;
  std::vector<std::string> extra_headers_;
  bool mime_ = false;
};

}  // namespace larkspin
