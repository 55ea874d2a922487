#include "mailbox/transfer_decoding.h"

#include "common/string_tools.h"
#include "mime/base64.h"
#include "mime/quoted_printable.h"

namespace larkspin {

namespace {
// Encoded bytes taken at a time: the decoded piece of each is handed on before the next.
constexpr size_t kPieceBytes = size_t{1} << 20;

// Base64 over pieces of a body: every alphabet character carries six bits, other bytes are
// skipped, and the padding that completes a group ends the data.
class CBase64BodyDecoder {
 public:
  // Decodes text into out; false once the ending padding was met (the rest is ignored).
  bool Feed(std::string_view text, std::string& out) {
    if (ended_) return false;
    for (size_t at = 0; at < text.size(); ++at) {
      const size_t run = decoder_.DecodeRun(text.substr(at), out);
      if (run > 0) padding_ = 0;
      group_position_ = (group_position_ + run) % 4;
      at += run;
      if (at == text.size()) break;
      if (text[at] == '=' && group_position_ >= 2 && group_position_ + ++padding_ >= 4) {
        ended_ = true;
        return false;
      }
    }
    return true;
  }

 private:
  CBase64Decoder decoder_;
  size_t group_position_ = 0;  // characters of the current group of four seen
  size_t padding_ = 0;         // "=" seen since the last alphabet character
  bool ended_ = false;
};

bool DecodeBase64InPieces(std::string_view body, const DecodedBytesSink& sink) {
  CBase64BodyDecoder decoder;
  std::string bytes;
  for (size_t at = 0; at < body.size(); at += kPieceBytes) {
    bytes.clear();
    const bool goes_on = decoder.Feed(body.substr(at, kPieceBytes), bytes);
    if (!bytes.empty() && !sink(bytes)) return false;
    if (!goes_on) break;
  }
  return true;
}

// Quoted-printable escapes never span lines, so pieces end after a line end (a line longer than
// a piece is taken whole).
bool DecodeQPInPieces(std::string_view body, const DecodedBytesSink& sink) {
  for (size_t at = 0; at < body.size();) {
    size_t end = at + kPieceBytes >= body.size() ? body.size() : body.rfind('\n', at + kPieceBytes);
    if (end == std::string_view::npos || end < at) end = body.find('\n', at + kPieceBytes);
    end = end == std::string_view::npos || end >= body.size() ? body.size() : end + 1;
    if (!sink(DecodeQPText(body.substr(at, end - at)))) return false;
    at = end;
  }
  return true;
}
}  // namespace

bool DecodeTransferEncodingInPieces(std::string_view body, std::string_view transfer_encoding,
                                    const DecodedBytesSink& sink) {
  const std::string_view encoding = Trimmed(transfer_encoding);
  if (EqualsIgnoringCase(encoding, "base64")) return DecodeBase64InPieces(body, sink);
  if (EqualsIgnoringCase(encoding, "quoted-printable")) return DecodeQPInPieces(body, sink);
  return body.empty() || sink(body);
}

std::string DecodeTransferEncoding(std::string_view body, std::string_view transfer_encoding) {
  std::string bytes;
  DecodeTransferEncodingInPieces(body, transfer_encoding, [&](std::string_view piece) {
    bytes.append(piece);
    return true;
  });
  return bytes;
}

}  // namespace larkspin
