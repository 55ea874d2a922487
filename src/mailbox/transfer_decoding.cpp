#include "mailbox/transfer_decoding.h"

#include "common/string_tools.h"
#include "mime/base64.h"
#include "mime/quoted_printable.h"

namespace larkspin {

namespace {
std::string_view Trimmed(std::string_view text) {
  const size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t") + 1 - begin);
}

std::string DecodeBase64Body(std::string_view body) {
  std::string bytes;
  bytes.reserve(body.size() / 4 * 3 + 3);
  CBase64Decoder decoder;
  size_t group_position = 0;  // characters of the current group of four seen
  size_t padding = 0;         // "=" seen since the last alphabet character
  for (size_t at = 0; at < body.size(); ++at) {
    const size_t run = decoder.DecodeRun(body.substr(at), bytes);
    if (run > 0) padding = 0;
    group_position = (group_position + run) % 4;
    at += run;
    if (at == body.size()) break;
    if (body[at] == '=' && group_position >= 2 && group_position + ++padding >= 4) break;
  }
  return bytes;
}
}  // namespace

std::string DecodeTransferEncoding(std::string_view body, std::string_view transfer_encoding) {
  const std::string_view encoding = Trimmed(transfer_encoding);
  if (EqualsIgnoringCase(encoding, "base64")) return DecodeBase64Body(body);
  if (EqualsIgnoringCase(encoding, "quoted-printable")) return DecodeQPText(body);
  return std::string(body);
}

}  // namespace larkspin
