#pragma once
// One MIME part of an outgoing mail: a text or an attached file, with its own child parts. A part
// renders its MIME header, its encoded body and its closing boundary; the connection sends them
// in transmission order.
#include <memory>
#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "mime/base64.h"

namespace larkspin {

class CSMTPPart {
 public:
  CSMTPPart();
  // Copies every field, the boundary included, and every child recursively; each copied child's
  // parent is the new copy. The copy itself has no parent until a part adopts it.
  CSMTPPart(const CSMTPPart& other);
  CSMTPPart& operator=(const CSMTPPart&) = delete;
  ~CSMTPPart();

  // Stores the text with CR LF line ends and makes the part text/plain.
  void SetText(const std::string& text);
  // False (and nothing changed) when path is not an existing file; otherwise the part becomes an
  // application/octet-stream attachment titled with the file's name.
  bool AttachFile(const std::string& path);
  // Appends a copy of part as a child; returns its index.
  int AddSubPart(const CSMTPPart& part);
  // The first direct child whose content type equals content_type exactly, or null.
  CSMTPPart* FindSubPart(const std::string& content_type);
  void RemoveSubParts() { children_.clear(); }

  // The MIME header of a child part, ending with its empty line; false for a part without parent.
  bool RenderPartHeader(std::string& header) const;
  // The encoded body; false when an attached file cannot be opened or read.
  bool RenderPartBody(std::string& body) const;
  // The Content-Transfer-Encoding line of a text part (base64 or quoted-printable, CR LF ended),
  // empty when it is sent as it is; always empty for a part with children: a multipart may only
  // be 7bit, its parts carry their own encodings.
  std::string TransferEncodingLine() const;
  // The closing boundary of a part with children.
  bool RenderPartFooter(std::string& footer) const;

  bool IsAttachment() const { return !file_path_.empty(); }
  int ChildCount() const { return static_cast<int>(children_.size()); }
  CSMTPPart* Child(int index) { return children_.at(static_cast<size_t>(index)).get(); }
  const CSMTPPart* Child(int index) const { return children_.at(static_cast<size_t>(index)).get(); }
  const CSMTPPart* Parent() const { return parent_; }

  const std::string& FilePath() const { return file_path_; }
  const std::string& Title() const { return title_; }
  const std::string& ContentType() const { return content_type_; }
  const std::string& Charset() const { return charset_; }
  const std::string& ContentId() const { return content_id_; }
  const std::string& Text() const { return text_; }
  const std::string& Boundary() const { return boundary_; }
  bool QuotedPrintable() const { return quoted_printable_; }
  bool Base64() const { return base64_; }

  void SetTitle(std::string title) { title_ = std::move(title); }
  void SetContentType(std::string type) { content_type_ = std::move(type); }
  void SetCharset(std::string charset) { charset_ = std::move(charset); }
  // kUtf8: the text is UTF-8 already and goes out as it is under a UTF-8 charset.
  void SetTextEncoding(TextEncoding encoding) { text_encoding_ = encoding; }
  TextEncoding GetTextEncoding() const { return text_encoding_; }
  void SetContentId(std::string id) { content_id_ = std::move(id); }
  void SetQuotedPrintable(bool on) { quoted_printable_ = on; }
  void SetBase64(bool on) { base64_ = on; }

 private:
  void CopyChildrenOf(const CSMTPPart& other);
  // The text as it goes on the wire before encoding: UTF-8 when the charset asks for it.
  std::string TextInCharset() const;

  std::string file_path_;
  std::string title_;
  std::string content_type_ = "text/plain";
  std::string charset_ = "iso-8859-1";
  TextEncoding text_encoding_ = TextEncoding::kClassic;
  std::string content_id_;
  std::string text_;
  Base64Codec base64_codec_;
  std::vector<std::unique_ptr<CSMTPPart>> children_;
  CSMTPPart* parent_ = nullptr;
  std::string boundary_;
  bool quoted_printable_ = true;
  bool base64_ = false;
};

}  // namespace larkspin
