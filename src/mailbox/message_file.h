#pragma once
// The stored message file: header lines, the message text, and an optional closing line that
// names the split-out attachments. Every line ends with CR LF; the text is Windows-1252 bytes.
//
//   From: <From, encoded word decoded>
//   To: <To>
//   Cc: <Cc>                      (only when the message has one)
//   Sent: <Date as received>
//   Subject: <Subject, encoded word decoded>
//   Priority: <X-Priority>        (empty after the label when absent), then an empty line
//   <the message text, without a final line break of its own>
//   CR CR LF "<<Attachments: " name "," name "," ... ">>"   (only when attachments were split)
#include <string>
#include <string_view>
#include <vector>

namespace larkspin {

inline constexpr std::string_view kFromLabel = "From: ";
inline constexpr std::string_view kToLabel = "To: ";
inline constexpr std::string_view kCcLabel = "Cc: ";
inline constexpr std::string_view kSentLabel = "Sent: ";
inline constexpr std::string_view kSubjectLabel = "Subject: ";
inline constexpr std::string_view kPriorityLabel = "Priority: ";
inline constexpr std::string_view kAttachmentsOpening = "<<Attachments: ";
inline constexpr std::string_view kAttachmentsClosing = ">>";

struct StoredMessageHeader {
  std::string from;
  std::string to;
  std::string cc;
  std::string sent;
  std::string subject;
  std::string priority;
};

// The header lines, the Cc line only when cc is not empty, and the empty line after "Priority: ".
std::string StoredHeaderLines(const StoredMessageHeader& header);

// The closing line: CR CR LF, "<<Attachments: ", each name followed by ",", then ">>".
std::string AttachmentLine(const std::vector<std::string>& names);

// The value of a field: the text after the first occurrence of label up to the next CR LF (or
// the end); empty when the label does not occur.
std::string StoredField(std::string_view content, std::string_view label);

// The names between "<<Attachments: " and ">>", split at the commas; empty names are dropped.
std::vector<std::string> StoredAttachmentNames(std::string_view content);

}  // namespace larkspin
