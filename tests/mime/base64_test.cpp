#include "mime/base64.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/python_check.h"

namespace larkspin {
namespace {

using test_support::RunPython;

TEST(Base64CodecTest, EncodesGroupsWithPadding) {
  const Base64Codec codec;
  EXPECT_EQ(codec.Encode("abc"), "YWJj");
  EXPECT_EQ(codec.Encode("ab"), "YWI=");
  EXPECT_EQ(codec.Encode("a"), "YQ==");
  EXPECT_EQ(codec.Encode(""), "");
  EXPECT_EQ(codec.Encode(std::string("\xFB\xFF\x00", 3)), "+/8A");
}

TEST(Base64CodecTest, DecodesPaddingAndForeignCharactersAsZeroBits) {
  const Base64Codec codec;
  EXPECT_EQ(codec.Decode("YWJj"), "abc");
  EXPECT_EQ(codec.Decode("YQ=="), std::string("a\0\0", 3));
  EXPECT_EQ(codec.DecodeText("VXNlcm5hbWU6"), "Username:");
  EXPECT_EQ(codec.DecodeText("YWI="), "ab");
  // A last group cut short is completed with zero bits instead of being read past its end.
  EXPECT_EQ(codec.Decode("YWJjZA"), std::string("abcd\0\0", 6));
}

TEST(Base64CodecTest, BodyLinesHold76CharactersEachEndingInCrLf) {
  const Base64Codec codec;
  EXPECT_EQ(codec.EncodeLines(""), "");
  const std::string one_line = codec.EncodeLines(std::string(57, 'x'));
  EXPECT_EQ(one_line.size(), 76u + 2);
  EXPECT_EQ(one_line.substr(76), "\r\n");
  const std::string two_lines = codec.EncodeLines(std::string(58, 'x'));
  EXPECT_EQ(two_lines, codec.Encode(std::string(57, 'x')) + "\r\n" + "eA==\r\n");
}

TEST(Base64CodecTest, PythonDecodesTheBodyLinesToTheSameBytes) {
  std::string bytes;
  for (int i = 0; i < 5000; ++i) bytes += static_cast<char>((i * 7919) % 256);
  const std::string decoded =
      RunPython("import base64, sys\nsys.stdout.buffer.write(base64.b64decode(sys.stdin.buffer.read()))\n",
                Base64Codec().EncodeLines(bytes));
  EXPECT_EQ(decoded, bytes);
}

TEST(Base64ValueTest, AlphabetCharactersHaveTheirValueAndOthersMinusOne) {
  EXPECT_EQ(Base64Value('A'), 0);
  EXPECT_EQ(Base64Value('z'), 51);
  EXPECT_EQ(Base64Value('9'), 61);
  EXPECT_EQ(Base64Value('+'), 62);
  EXPECT_EQ(Base64Value('/'), 63);
  EXPECT_EQ(Base64Value('='), -1);
  EXPECT_EQ(Base64Value('-'), -1);
}

TEST(CBase64DecoderTest, DecodesTheRunOfAlphabetCharactersAndKeepsTheBitsShortOfAByte) {
  struct Case {
    std::string_view text;
    size_t run_length;
    std::string bytes;
    bool pending;
  };
  for (const Case& c : {Case{"YWJj", 4, "abc", false}, Case{"YWJjZA", 6, "abcd", true}, Case{"YQ==", 2, "a", true},
                        Case{"YW-Jj", 2, "a", true}, Case{"=YWJj", 0, "", false}, Case{"", 0, "", false}}) {
    CBase64Decoder decoder;
    std::string out;
    EXPECT_EQ(decoder.DecodeRun(c.text, out), c.run_length) << c.text;
    EXPECT_EQ(out, c.bytes) << c.text;
    EXPECT_EQ(decoder.HasPendingBits(), c.pending) << c.text;
  }
}

TEST(CBase64DecoderTest, BitsCarryOverToTheNextRun) {
  CBase64Decoder decoder;
  std::string out;
  decoder.DecodeRun("YW", out);
  decoder.DecodeRun("Jj", out);
  EXPECT_EQ(out, "abc");
  EXPECT_FALSE(decoder.HasPendingBits());
}

}  // namespace
}  // namespace larkspin
