#include "mailbox/utf8_text.h"

#include <optional>

#include "common/string_tools.h"
#include "mime/base64.h"
#include "mime/charset_conversion.h"
#include "mime/header_parameter.h"
#include "mime/quoted_printable.h"
#include "pop3/pop3_text.h"

namespace larkspin {

namespace {
constexpr std::string_view kLineEnd = "\r\n";

struct TextPart {
  TextEncodingFields fields;
  std::string body;
};

// A part as the boundary split leaves it: the rest of the delimiter line, the part's header lines,
// an empty line, the body, and the line end and "--" that begin the next delimiter.
TextPart SplitPart(std::string_view part) {
  const size_t line_end = part.find(kLineEnd);
  part = line_end == std::string_view::npos ? std::string_view() : part.substr(line_end + kLineEnd.size());
  if (part.ends_with("\r\n--")) part.remove_suffix(4);
  CPop3Text headers;
  const size_t body_start = part.starts_with(kLineEnd) ? 0 : part.find("\r\n\r\n");
  if (body_start == std::string_view::npos) return {{}, std::string(part)};
  headers.SetText(std::string(part.substr(0, body_start)));
  return {{headers.HeaderField("Content-Type"), headers.HeaderField("Content-Transfer-Encoding")},
          std::string(part.substr(body_start + (body_start == 0 ? 2 : 4)))};
}

// Base64 lines: the alphabet's characters carry the bytes, line ends and padding are skipped.
std::string Base64Decoded(std::string_view text) {
  std::string bytes;
  CBase64Decoder decoder;
  for (const char c : text)
    if (const int value = Base64Value(c); value >= 0) decoder.AddSixBits(static_cast<unsigned>(value), bytes);
  return bytes;
}

std::string TransferDecoded(const std::string& body, std::string_view transfer_encoding) {
  const std::string_view encoding = transfer_encoding.substr(0, transfer_encoding.find_first_of(" ;"));
  if (EqualsIgnoringCase(encoding, "quoted-printable")) return DecodeQPText(body);
  if (EqualsIgnoringCase(encoding, "base64")) return Base64Decoded(body);
  return body;
}

bool IsPart(BodyKind kind) { return kind == BodyKind::kAlternative || kind == BodyKind::kMixed; }
}  // namespace

std::string StoredUtf8Text(const StoredTextChoice& choice, const TextEncodingFields& message_fields) {
  TextPart text = IsPart(choice.kind) && !choice.boundary.empty() ? SplitPart(choice.text)
                                                                  : TextPart{message_fields, choice.text};
  std::string decoded = TransferDecoded(text.body, text.fields.transfer_encoding);
  const std::string charset = ParameterValue(text.fields.content_type, "charset");
  if (std::optional<std::string> utf8 = ConvertToUtf8(decoded, charset)) return std::move(*utf8);
  return decoded;
}

}  // namespace larkspin
