#include "mailbox/mime_tree.h"

#include <algorithm>

#include "common/string_tools.h"
#include "mailbox/mime_body_choice.h"
#include "mailbox/mime_header.h"
#include "mailbox/mime_lines.h"
#include "mailbox/transfer_decoding.h"
#include "mime/header_parameter.h"

namespace larkspin {

namespace {
const std::string kTooDeep = "MIME parts nested deeper than " + std::to_string(kMaxMimeNesting) +
                             " levels: the rest is kept as one part";
const std::string kTooMany = "More than " + std::to_string(kMaxMimeLeaves) +
                             " MIME parts: the rest is kept as one part";
const std::string kFieldCut = "A MIME header field longer than " + std::to_string(kMaxFieldBytes) +
                              " bytes is cut there";
const std::string kNotSplit = "A multipart without a boundary, or whose boundary never occurs, is kept as one text part";

constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

std::string RightTrimmed(std::string text) {
  text.erase(std::min(text.size(), text.find_last_not_of(kWhiteSpace) + 1));
  return text;
}


class CMimeTreeReader {
 public:
  explicit CMimeTreeReader(std::string_view message) : cursor_(message) {}

  MimeMessage Read() {
    ReadPart("text/plain");
    message_.plain_text = ChooseTextLeaf(outline_, "plain");
    message_.html_text = ChooseTextLeaf(outline_, "html");
    return std::move(message_);
  }

 private:
  // Reads the part at the cursor up to its end and returns its index in the outline.
  int ReadPart(std::string_view default_type) {
    const MimeHeaderFields fields = ReadMimeHeader(cursor_);
    if (fields.field_cut) AddProblem(kFieldCut);
    const int node = static_cast<int>(outline_.size());
    outline_.push_back({MediaTypeOf(fields.content_type, default_type), IsAttachmentDisposition(fields.disposition),
                        std::string(Trimmed(fields.content_id, kWhiteSpace)), {}, -1, {}});
    if (outline_[node].content_type.starts_with("multipart/")) {
      ReadMultipart(node, fields);
    } else {
      std::string_view body = cursor_.SkipToPartEnd();
      // The line end before a delimiter belongs to the delimiter.
      if (cursor_.Nesting() > 0) body.remove_suffix(TrailingLineEnd(body));
      AddLeaf(node, fields, body, outline_[node].content_type == "message/rfc822" ? "" : fields.transfer_encoding);
    }
    return node;
  }

  void ReadMultipart(int node, const MimeHeaderFields& fields) {
    const std::string content_type = fields.content_type.value_or("");
    if (cursor_.Nesting() >= kMaxMimeNesting) {
      AddProblem(kTooDeep);
      AddLeaf(node, fields, cursor_.SkipToPartEnd(), "");
      return;
    }
    // Python keeps blanks before a boundary but not after it.
    const std::string boundary = RightTrimmed(ParameterValue(content_type, "boundary"));
    const size_t body_start = cursor_.Position();
    if (boundary.empty()) {
      KeepAsText(node, fields, cursor_.SkipToPartEnd());
      return;
    }
    DelimiterKind first = DelimiterKind::kNone;
    while (!cursor_.AtPartEnd() && (first = DelimiterOf(cursor_.Line(), boundary)) == DelimiterKind::kNone)
      cursor_.Advance();
    if (first != DelimiterKind::kOpen) {
      // A close delimiter before any part: the whole body is kept as the text, so that nothing
      // after it is lost (Python keeps only the preamble).
      cursor_.SkipToPartEnd();
      KeepAsText(node, fields, cursor_.Text().substr(body_start, cursor_.Position() - body_start));
      return;
    }
    outline_[node].start = TrimmedParameter(content_type, "start");
    ReadParts(node, boundary);
  }

  // Reads the parts of the multipart outline_[node], starting at its first delimiter line.
  void ReadParts(int node, const std::string& boundary) {
    const std::string default_type = outline_[node].content_type == "multipart/digest" ? "message/rfc822" : "text/plain";
    while (true) {
      if (message_.leaves.size() >= kMaxMimeLeaves) {
        AddProblem(kTooMany);
        const int rest = AddNode(outline_[node].content_type);
        outline_[node].parts.push_back(rest);
        AddLeaf(rest, {}, cursor_.SkipToPartEnd(), "");
        return;
      }
      cursor_.Advance();
      while (!cursor_.AtPartEnd() && DelimiterOf(cursor_.Line(), boundary) != DelimiterKind::kNone) cursor_.Advance();
      cursor_.PushBoundary(boundary);
      const int part = ReadPart(default_type);
      cursor_.PopBoundary();
      outline_[node].parts.push_back(part);
      // The part ended at a delimiter of this multipart, one of an enclosing multipart, or the end.
      if (cursor_.AtPartEnd()) return;
      if (DelimiterOf(cursor_.Line(), boundary) == DelimiterKind::kClose) {
        cursor_.Advance();
        cursor_.SkipToPartEnd();  // the epilogue
        return;
      }
    }
  }

  // A multipart that cannot be split: one text leaf of its body, decoded.
  void KeepAsText(int node, const MimeHeaderFields& fields, std::string_view text) {
    AddProblem(kNotSplit);
    outline_[node].content_type = "text/plain";
    AddLeaf(node, fields, text, fields.transfer_encoding);
  }

  int AddNode(std::string content_type) {
    outline_.push_back({std::move(content_type), false, {}, {}, -1, {}});
    return static_cast<int>(outline_.size()) - 1;
  }

  void AddLeaf(int node, const MimeHeaderFields& fields, std::string_view body, std::string transfer_encoding) {
    MimeLeaf leaf;
    leaf.content_type = outline_[node].content_type;
    const std::string content_type = fields.content_type.value_or("");
    leaf.charset = TrimmedParameter(content_type, "charset");
    leaf.file_name = TrimmedParameter(fields.disposition, "filename");
    if (leaf.file_name.empty()) leaf.file_name = TrimmedParameter(content_type, "name");
    leaf.is_attachment = outline_[node].is_attachment;
    leaf.position = static_cast<int>(message_.leaves.size()) + 1;
    leaf.body = body;
    leaf.transfer_encoding = std::move(transfer_encoding);
    outline_[node].leaf = static_cast<int>(message_.leaves.size());
    message_.leaves.push_back(std::move(leaf));
  }

  void AddProblem(const std::string& problem) {
    if (std::ranges::find(message_.problems, problem) == message_.problems.end()) message_.problems.push_back(problem);
  }

  CMimeLineCursor cursor_;
  MimeMessage message_;
  std::vector<MimeOutlineNode> outline_;
};
}  // namespace

MimeMessage ReadMimeTree(std::string_view message) { return CMimeTreeReader(message).Read(); }

std::string LeafBytes(const MimeLeaf& leaf) { return DecodeTransferEncoding(leaf.body, leaf.transfer_encoding); }

}  // namespace larkspin
