#include "smtp/smtp_part.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

#include "common/format.h"
#include "common/windows_1252.h"
#include "mime/header_word.h"
#include "mime/quoted_printable.h"
#include "platform/file_system.h"
#include "smtp/attachment_name.h"
#include "smtp/dot_stuff.h"
#include "smtp/header_fold.h"
#include "smtp/header_line.h"
#include "common/line_ends.h"
#include "smtp/mime_boundary.h"
#include "smtp/sent_charset.h"

namespace larkspin {

namespace {
// The whole file; false when it cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  struct stat info {};
  if (::fstat(fileno(file), &info) == 0 && info.st_size > 0) bytes.reserve(static_cast<size_t>(info.st_size));
  char chunk[65536];
  size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, count);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  return !failed;
}

// The line group that opens a child part's header (P parent boundary, B own boundary).
std::string OpeningLines(const CSMTPPart& part, const std::string& p, const std::string& b) {
  const std::string boundary = part.ChildCount() > 0 ? "; Boundary=\"" + b + "\"" : "";
  const std::string content_type = "Content-Type: " + WithoutLineBreaks(part.ContentType()) + "; charset=";
  if (part.IsAttachment()) {
    const std::string name = WithoutLineBreaks(part.Title());
    return "\r\n\r\n--" + p + "\r\n" +
           FoldedHeaderLine(content_type + WithoutLineBreaks(part.Charset()) + "; " + NameParameter(name) + boundary) +
           "Content-Transfer-Encoding: base64\r\n" +
           FoldedHeaderLine("Content-Disposition: attachment; " + FilenameParameters(name));
  }
  const std::string charset = SentCharsetOf(part.Text(), part.Charset(), part.GetTextEncoding());
  return "\r\n--" + p + "\r\n" + FoldedHeaderLine(content_type + WithoutLineBreaks(charset) + boundary) +
         part.TransferEncodingLine();
}

void AppendFieldLine(std::string& header, const char* name, const std::string& value) {
  if (!value.empty()) header += FoldedHeaderLine(std::string(name) + ": " + WithoutLineBreaks(value));
}
}  // namespace

CSMTPPart::CSMTPPart() : boundary_(NewMimeBoundary()) {}

CSMTPPart::CSMTPPart(const CSMTPPart& other)
    : file_path_(other.file_path_),
      title_(other.title_),
      content_type_(other.content_type_),
      charset_(other.charset_),
      text_encoding_(other.text_encoding_),
      content_id_(other.content_id_),
      text_(other.text_),
      boundary_(other.boundary_),
      quoted_printable_(other.quoted_printable_),
      base64_(other.base64_) {
  CopyChildrenOf(other);
}

CSMTPPart::~CSMTPPart() = default;

void CSMTPPart::CopyChildrenOf(const CSMTPPart& other) {
  for (const auto& child : other.children_) AddSubPart(*child);
}

void CSMTPPart::SetText(const std::string& text) {
  text_ = NormalizeLineEnds(text);
  content_type_ = "text/plain";
}

bool CSMTPPart::AttachFile(const std::string& path) {
  if (!FileExists(path)) return false;
  file_path_ = path;
  title_ = std::filesystem::path(path).filename().string();
  content_type_ = "application/octet-stream";
  return true;
}

int CSMTPPart::AddSubPart(const CSMTPPart& part) {
  auto copy = std::make_unique<CSMTPPart>(part);
  copy->parent_ = this;
  children_.push_back(std::move(copy));
  return static_cast<int>(children_.size()) - 1;
}

CSMTPPart* CSMTPPart::FindSubPart(const std::string& content_type) {
  for (const auto& child : children_) {
    if (child->content_type_ == content_type) return child.get();
  }
  return nullptr;
}

bool CSMTPPart::RenderPartHeader(std::string& header) const {
  if (parent_ == nullptr) return false;
  header = OpeningLines(*this, WithoutLineBreaks(parent_->boundary_), WithoutLineBreaks(boundary_));
  AppendFieldLine(header, "Content-ID", content_id_);
  header += "\r\n";
  return true;
}

std::string CSMTPPart::TextInCharset() const {
  return IsUtf8Charset(charset_) && text_encoding_ == TextEncoding::kClassic ? AnsiToUtf8(text_) : text_;
}

std::string CSMTPPart::TransferEncodingLine() const {
  if (!children_.empty() || content_type_.starts_with("multipart/")) return {};
  if (base64_) return "Content-Transfer-Encoding: base64\r\n";
  if (quoted_printable_) return "Content-Transfer-Encoding: quoted-printable\r\n";
  return {};
}

bool CSMTPPart::RenderPartBody(std::string& body) const {
  if (IsAttachment()) {
    std::string bytes;
    if (!ReadFileBytes(file_path_, bytes)) return false;
    body = base64_codec_.EncodeLines(bytes);
  } else if (base64_) {
    body = base64_codec_.EncodeLines(TextInCharset());
  } else if (quoted_printable_) {
    body = DotStuff(EncodeQP(TextInCharset()));
  } else {
    body = DotStuff(TextInCharset());
  }
  return true;
}

bool CSMTPPart::RenderPartFooter(std::string& footer) const {
  footer = FormatText("\r\n--%s--", WithoutLineBreaks(boundary_).c_str());
  return true;
}

}  // namespace larkspin
