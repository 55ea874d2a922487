#include "common/windows_1252.h"

#include <gtest/gtest.h>

#include <string>

namespace larkspin {
namespace {

TEST(Windows1252Test, AnsiToUtf8CoversTheWholeCodePage) {
  EXPECT_EQ(AnsiToUtf8("plain"), "plain");
  EXPECT_EQ(AnsiToUtf8("\xE4\xF6\xFC\xDF"), "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F");
  EXPECT_EQ(AnsiToUtf8("\x80"), "\xE2\x82\xAC");    // euro sign
  EXPECT_EQ(AnsiToUtf8("\x9F"), "\xC5\xB8");        // Y with diaeresis
  EXPECT_EQ(AnsiToUtf8("\x81\x9D"), "\xC2\x81\xC2\x9D");  // undefined bytes: C1 controls
  EXPECT_EQ(AnsiToUtf8(std::string("\0\xA0", 2)), std::string("\0\xC2\xA0", 3));
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    EXPECT_TRUE(IsValidUtf8(AnsiToUtf8(byte))) << b;
    EXPECT_EQ(TypedTextToAnsi(AnsiToUtf8(byte)), byte) << b;
  }
}

TEST(Windows1252Test, IsValidUtf8RejectsMalformedSequences) {
  EXPECT_TRUE(IsValidUtf8("K\xC3\xB6ln \xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("K\xF6ln"));              // a Windows-1252 byte
  EXPECT_FALSE(IsValidUtf8("\xC3"));                 // cut short
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));             // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));         // surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));     // beyond U+10FFFF
}

TEST(Windows1252Test, TypedTextIsConvertedOnlyWhenItIsUtf8) {
  EXPECT_EQ(TypedTextToAnsi("Gr\xC3\xBC\xC3\x9F \xE2\x82\xAC"), "Gr\xFC\xDF \x80");
  EXPECT_EQ(TypedTextToAnsi("Gr\xFC\xDF"), "Gr\xFC\xDF");
  EXPECT_EQ(TypedTextToAnsi("\xE2\x98\x83 snow"), "? snow");
}

TEST(Windows1252Test, FitsWindows1252OnlyForValidUtf8WithinTheCodePage) {
  EXPECT_TRUE(FitsWindows1252("Gr\xC3\xBC\xC3\x9F \xE2\x82\xAC ?"));
  EXPECT_FALSE(FitsWindows1252("\xE2\x98\x83 snow"));
  EXPECT_FALSE(FitsWindows1252("Gr\xFC\xDF"));
}

}  // namespace
}  // namespace larkspin
