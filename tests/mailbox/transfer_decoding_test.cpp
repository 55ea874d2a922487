#include "mailbox/transfer_decoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "mime/base64.h"
#include "mime/quoted_printable.h"

namespace larkspin {
namespace {

std::string SampleBytes(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 977) & 0xFF);
  return bytes;
}

// Pieces of a large body, joined, are the whole body decoded; none is much larger than a MiB.
TEST(TransferDecodingTest, ALargeBodyDecodedInPiecesIsTheWholeBodyDecoded) {
  const std::string bytes = SampleBytes((size_t{5} << 20) + 123);
  const struct {
    std::string encoding;
    std::string body;
  } cases[] = {
      {"base64", Base64Codec().EncodeLines(bytes) + "\r\n=== trailing junk after the padding"},
      {" Quoted-Printable ", EncodeQP(bytes)},
      {"8bit", bytes},
  };
  for (const auto& c : cases) {
    std::string joined;
    size_t pieces = 0;
    size_t largest = 0;
    EXPECT_TRUE(DecodeTransferEncodingInPieces(c.body, c.encoding, [&](std::string_view piece) {
      joined.append(piece);
      largest = std::max(largest, piece.size());
      ++pieces;
      return true;
    }));
    EXPECT_EQ(joined, bytes) << c.encoding;
    EXPECT_EQ(DecodeTransferEncoding(c.body, c.encoding), bytes) << c.encoding;
    if (c.encoding != "8bit") EXPECT_GT(pieces, 3u) << c.encoding;
    if (c.encoding != "8bit") EXPECT_LE(largest, size_t{1} << 20) << c.encoding;
  }
}

TEST(TransferDecodingTest, ASinkThatRefusesAPieceStopsTheDecoding) {
  const std::string body = Base64Codec().EncodeLines(SampleBytes(size_t{3} << 20));
  size_t pieces = 0;
  EXPECT_FALSE(DecodeTransferEncodingInPieces(body, "base64", [&](std::string_view) { return ++pieces < 2; }));
  EXPECT_EQ(pieces, 2u);
}

}  // namespace
}  // namespace larkspin
