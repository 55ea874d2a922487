#pragma once
// A MIME part's body with its Content-Transfer-Encoding undone, as the part's bytes are stored:
// whole, or piece by piece so that a large attachment goes to its file without being held in
// memory a second time.
#include <functional>
#include <string>
#include <string_view>

namespace larkspin {

// The body decoded by the encoding named (any case, blanks around it ignored):
// - "base64": every alphabet character carries six bits, other bytes are skipped; decoding stops
//   at the padding that completes a group (as Python's binascii does), bits short of a byte at the
//   end are dropped;
// - "quoted-printable": by RFC 2045 (mime/quoted_printable.h DecodeQPText);
// - anything else (7bit, 8bit, binary, none, unknown): the body as it is.
std::string DecodeTransferEncoding(std::string_view body, std::string_view transfer_encoding);

// Receives one piece of decoded bytes after the other; false stops the decoding.
using DecodedBytesSink = std::function<bool(std::string_view)>;

// The same decoding handed to sink in pieces of about a MiB, in order; false when sink refused one.
bool DecodeTransferEncodingInPieces(std::string_view body, std::string_view transfer_encoding,
                                    const DecodedBytesSink& sink);

}  // namespace larkspin
